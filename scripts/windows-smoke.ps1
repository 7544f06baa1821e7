<#
.SYNOPSIS
    Checks the built program against a real Windows: the real cacls, real
    access lists, a real administrator token.

.DESCRIPTION
    For a maintainer at a Windows 10 or 11 PC, in a PowerShell started with
    "Run as administrator", next to a built boansetting.com (or with
    -Program). For one product it:
      1. creates a scratch install folder under the 32-bit program-files
         folder when the product has none (and only then removes it again);
      2. runs the program without administrator rights, as UAC runs it for
         everyone who did not choose "Run as administrator": "/check" must
         work (exit code 1), "/fix" must end with 3 and change nothing;
      3. runs "/check" (expects exit code 1 and the word "missing"),
         "/fix" (expects 0, "granted") and "/check" again (expects 0, "ok");
      4. reads the folder's access list with Get-Acl and checks that it is
         exactly one explicit entry, BUILTIN\Users full control, inherited by
         files and subfolders, protected from the parent's entries; and that a
         new file and a new subfolder inside do inherit it;
      5. removes what it created.
    It prints one PASS or FAIL line per step with what it saw (SKIP where this
    PC cannot run a step, such as the unelevated runs with UAC off), and exits
    with 0 when no step failed, 1 when one did, 2 when it refused to start.

    When the product's folder already exists (the product is installed),
    "/fix" would replace that folder's access list, so the script stops
    unless -UseExistingFolder is given; it then puts the folder's original
    entries back at the end.

.EXAMPLE
    powershell -ExecutionPolicy Bypass -File .\windows-smoke.ps1
.EXAMPLE
    powershell -ExecutionPolicy Bypass -File .\windows-smoke.ps1 -Product Fennick -Program D:\build\boansetting.com
#>
[CmdletBinding()]
param(
    # The product, by the name the program's list shows (case matters).
    [ValidateSet('Pelorant', 'Marrowin', 'Tessaly', 'Orbisk', 'Fennick', 'Havrest', IgnoreCase = $false)]
    [string] $Product = 'Pelorant',

    # The console program a prompt runs; by default the one beside this script.
    [string] $Program = (Join-Path $PSScriptRoot 'boansetting.com'),

    # Let /fix replace the access list of an install folder that already
    # exists; its original entries are restored at the end.
    [switch] $UseExistingFolder
)

Set-StrictMode -Version 2.0
# This file stays ASCII: Windows PowerShell 5.1 reads a script without a BOM
# in the ANSI code page, so Hangul here would reach it garbled.

# The program's own product table: list name -> install folder name.
$installFolderNames = @{
    Pelorant = 'Quindle'; Marrowin = 'Marrowin'; Tessaly = 'Tessaly'
    Orbisk = 'Glenmarch'; Fennick = 'Sorrelay'; Havrest = 'Havrest80'
}
$usersSid = New-Object System.Security.Principal.SecurityIdentifier('S-1-5-32-545')
$failures = 0

function Write-Step([bool] $passed, [string] $step, [string] $seen) {
    if ($passed) {
        Write-Host ("PASS  {0}: {1}" -f $step, $seen)
    } else {
        Write-Host ("FAIL  {0}: {1}" -f $step, $seen) -ForegroundColor Red
        $script:failures++
    }
}

# Runs the program as a prompt would and returns its exit code and the lines
# it wrote to standard output (standard error goes to the screen as it is).
function Invoke-Program([string] $verb) {
    $lines = @(& $Program $verb $Product | ForEach-Object { [string]$_ } | Where-Object { $_ -ne '' })
    return [pscustomobject]@{ ExitCode = $LASTEXITCODE; Lines = $lines }
}

function Test-SamePath([string] $a, [string] $b) {
    return [string]::Equals($a.TrimEnd('\'), $b.TrimEnd('\'), [StringComparison]::OrdinalIgnoreCase)
}

# One step: the program run with $verb must end with $code and print exactly
# one line, "<product> TAB <install folder> TAB <word>".
function Test-Run([string] $verb, [int] $code, [string] $word) {
    $run = Invoke-Program $verb
    $seen = "exit code {0}, output [{1}]" -f $run.ExitCode, ($run.Lines -join ' | ')
    # @() throughout: a pipeline hands back one item, or none, unwrapped.
    $fields = @(if ($run.Lines.Count -eq 1) { $run.Lines[0].Split("`t") })
    $passed = $run.ExitCode -eq $code -and $fields.Count -eq 3 -and
              $fields[0] -ceq $Product -and (Test-SamePath $fields[1] $folder) -and $fields[2] -ceq $word
    Write-Step $passed "$verb $Product (expects $code, '$word')" $seen.Replace("`t", '<TAB>')
}

# Runs the program with this user's own unelevated token, the one UAC gives
# every program not started "as administrator": through a one-time scheduled
# task at the limited run level, whose last result is the program's exit
# code. Returns the exit code; "hung" when the program was still running
# after the limit; $null when Windows did not start it (an administrator
# account other than the one logged on at this screen, say).
function Invoke-Unelevated([string] $verb) {
    $name = "boansetting-smoke-$PID"
    $action = New-ScheduledTaskAction -Execute $Program -Argument "$verb $Product"
    $principal = New-ScheduledTaskPrincipal -UserId $identity.Name -LogonType Interactive -RunLevel Limited
    Register-ScheduledTask -TaskName $name -Action $action -Principal $principal -Force -ErrorAction Stop | Out-Null
    try {
        Start-ScheduledTask -TaskName $name -ErrorAction Stop
        $notYet = @(0x41301, 0x41303)  # running; has not run yet
        $deadline = (Get-Date).AddSeconds(30)
        do {
            Start-Sleep -Milliseconds 250
            $state = [string](Get-ScheduledTask -TaskName $name).State
            $result = (Get-ScheduledTaskInfo -TaskName $name).LastTaskResult
            if ($state -eq 'Ready' -and $notYet -notcontains $result) { return [long]$result }
        } until ((Get-Date) -gt $deadline)
        if ($state -ne 'Running') { return $null }
        Stop-ScheduledTask -TaskName $name -ErrorAction SilentlyContinue
        return 'hung'
    } finally {
        Unregister-ScheduledTask -TaskName $name -Confirm:$false -ErrorAction SilentlyContinue
    }
}

# Without administrator rights the check must work and the fix must refuse
# with exit code 3 and leave the folder as it was.
function Test-Unelevated([int] $checkCode) {
    $lua = Get-ItemProperty -Path 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System' `
        -Name EnableLUA -ErrorAction SilentlyContinue
    if ($null -ne $lua -and $lua.EnableLUA -eq 0) {
        Write-Host 'SKIP  unelevated runs: UAC is off on this PC, so every program of an administrator runs elevated'
        return
    }
    try {
        $code = Invoke-Unelevated '/check'
    } catch {
        Write-Host "SKIP  unelevated runs: cannot use the task scheduler: $($_.Exception.Message)"
        return
    }
    if ($null -eq $code) {
        Write-Host "SKIP  unelevated runs: Windows did not start a limited task as $($identity.Name) (not the account logged on here?)"
        return
    }
    Write-Step ($code -eq $checkCode) "/check $Product without administrator rights (expects $checkCode)" "exit code $code"
    $before = Get-DaclSddl $folder
    $code = Invoke-Unelevated '/fix'
    $after = Get-DaclSddl $folder
    Write-Step ($code -eq 3 -and $after -eq $before) "/fix $Product without administrator rights (expects 3, nothing changed)" `
        ("exit code {0}; access list {1}" -f $code, $(if ($after -eq $before) { 'unchanged' } else { "changed to $after" }))
}

# The access list alone in SDDL, e.g. "D:PAI(A;OICI;FA;;;BU)".
function Get-DaclSddl([string] $path) {
    return (Get-Acl -LiteralPath $path -ErrorAction Stop).GetSecurityDescriptorSddlForm(
        [System.Security.AccessControl.AccessControlSections]::Access)
}

function Test-FolderAcl {
    $acl = Get-Acl -LiteralPath $folder -ErrorAction Stop
    $dacl = Get-DaclSddl $folder
    $rules = @($acl.GetAccessRules($true, $true, [System.Security.Principal.SecurityIdentifier]))
    $rule = if ($rules.Count -eq 1) { $rules[0] } else { $null }
    $isUsersFullControl = $null -ne $rule -and
        $rule.IdentityReference -eq $usersSid -and
        $rule.AccessControlType -eq [System.Security.AccessControl.AccessControlType]::Allow -and
        $rule.FileSystemRights -eq [System.Security.AccessControl.FileSystemRights]::FullControl -and
        $rule.InheritanceFlags -eq ([System.Security.AccessControl.InheritanceFlags]'ContainerInherit, ObjectInherit') -and
        $rule.PropagationFlags -eq [System.Security.AccessControl.PropagationFlags]::None -and
        -not $rule.IsInherited
    Write-Step $isUsersFullControl 'access list: one explicit entry, Users full control, inherited by files and subfolders' `
        ("{0} entr{1}; {2}" -f $rules.Count, $(if ($rules.Count -eq 1) { 'y' } else { 'ies' }), $dacl)
    Write-Step $acl.AreAccessRulesProtected 'access list: protected from the parent folder''s entries' `
        ("protected = {0}; {1}" -f $acl.AreAccessRulesProtected, $dacl)
}

# What the folder hands on is the point of the fix: the product's own files
# and folders, made later, must be writable by every user.
function Test-Inheritance {
    $probes = @()
    try {
        $probes += New-Item -ItemType File -Path (Join-Path $folder 'smoke-probe.txt') -ErrorAction Stop
        $probes += New-Item -ItemType Directory -Path (Join-Path $folder 'smoke-probe') -ErrorAction Stop
        $seen = foreach ($probe in $probes) {
            $inherited = @((Get-Acl -LiteralPath $probe.FullName -ErrorAction Stop).GetAccessRules(
                    $true, $true, [System.Security.Principal.SecurityIdentifier]) | Where-Object {
                    $_.IsInherited -and $_.IdentityReference -eq $usersSid -and
                    $_.AccessControlType -eq [System.Security.AccessControl.AccessControlType]::Allow -and
                    $_.FileSystemRights -eq [System.Security.AccessControl.FileSystemRights]::FullControl })
            [pscustomobject]@{ Name = $probe.Name; Ok = $inherited.Count -eq 1; Dacl = Get-DaclSddl $probe.FullName }
        }
        Write-Step (@($seen | Where-Object { -not $_.Ok }).Count -eq 0) `
            'a new file and a new subfolder inherit Users full control' `
            (($seen | ForEach-Object { "{0}: {1}" -f $_.Name, $_.Dacl }) -join '; ')
    } finally {
        foreach ($probe in $probes) { Remove-Item -LiteralPath $probe.FullName -Recurse -Force -ErrorAction SilentlyContinue }
    }
}

# --- Before anything is touched ---------------------------------------------

$identity = [System.Security.Principal.WindowsIdentity]::GetCurrent()
$elevated = (New-Object System.Security.Principal.WindowsPrincipal($identity)).IsInRole(
    [System.Security.Principal.WindowsBuiltInRole]::Administrator)
if (-not $elevated) {
    Write-Step $false 'elevation' "not running as administrator ($($identity.Name)); start PowerShell with 'Run as administrator'"
    exit 2
}
Write-Step $true 'elevation' "running as administrator ($($identity.Name))"

if (-not (Test-Path -LiteralPath $Program -PathType Leaf)) {
    Write-Step $false 'program' "no program at $Program; copy this script beside boansetting.com or give -Program"
    exit 2
}
$Program = (Resolve-Path -LiteralPath $Program).ProviderPath
Write-Step $true 'program' $Program

# Where the program looks: the 32-bit program-files folder.
$programFiles = [Environment]::GetEnvironmentVariable('ProgramFiles(x86)')
if ([string]::IsNullOrEmpty($programFiles)) { $programFiles = $env:ProgramFiles }
$folder = Join-Path $programFiles $installFolderNames[$Product]

$created = $false
$originalAcl = $null
if (Test-Path -LiteralPath $folder) {
    if (-not (Test-Path -LiteralPath $folder -PathType Container)) {
        Write-Step $false 'install folder' "$folder exists but is not a folder; nothing was changed"
        exit 2
    }
    if (-not $UseExistingFolder) {
        Write-Warning "$folder already exists: $Product seems to be installed on this PC."
        Write-Warning "/fix would replace that folder's access list with a single entry (Users: full control)."
        Write-Warning 'Run again with -UseExistingFolder to allow that; the original entries are put back at the end.'
        Write-Step $false 'install folder' "$folder exists; nothing was changed (see -UseExistingFolder)"
        exit 2
    }
    $originalAcl = Get-Acl -LiteralPath $folder -ErrorAction Stop
    Write-Warning "Using the existing $folder; its access list is replaced now and restored at the end."
    Write-Step $true 'install folder' "$folder exists and is used as asked; before: $(Get-DaclSddl $folder)"
} else {
    try {
        New-Item -ItemType Directory -Path $folder -ErrorAction Stop | Out-Null
        $created = $true
        Write-Step $true 'install folder' "created scratch folder $folder; before: $(Get-DaclSddl $folder)"
    } catch {
        Write-Step $false 'install folder' "cannot create $folder`: $($_.Exception.Message)"
        exit 2
    }
}

# --- The program against the real cacls ---------------------------------------

try {
    # A fresh folder only inherits the program-files entries; an existing one
    # may already hold the entry from an earlier fix.
    $hadEntry = (Get-DaclSddl $folder).Contains('(A;OICI;FA;;;BU)')
    if ($hadEntry -and $created) {
        Write-Step $false 'scratch folder' 'a new folder already holds the Users entry: the check cannot be tested here'
    }
    Test-Unelevated $(if ($hadEntry) { 0 } else { 1 })
    if ($hadEntry) { Test-Run '/check' 0 'ok' } else { Test-Run '/check' 1 'missing' }
    Test-Run '/fix' 0 'granted'
    Test-Run '/check' 0 'ok'
    Test-FolderAcl
    Test-Inheritance
} catch {
    Write-Step $false 'unexpected error' $_.Exception.Message
} finally {
    if ($created) {
        try {
            Remove-Item -LiteralPath $folder -Recurse -Force -ErrorAction Stop
            Write-Step $true 'clean-up' "removed $folder"
        } catch {
            Write-Step $false 'clean-up' "cannot remove $folder`: $($_.Exception.Message)"
        }
    } elseif ($null -ne $originalAcl) {
        try {
            # The entries only: .NET writes back just the sections that were
            # set, so owner and audit entries, which /fix never changed, stay
            # as they are. (Set-Acl would try to write them too.)
            $restore = New-Object System.Security.AccessControl.DirectorySecurity
            $restore.SetSecurityDescriptorSddlForm(
                $originalAcl.GetSecurityDescriptorSddlForm([System.Security.AccessControl.AccessControlSections]::Access),
                [System.Security.AccessControl.AccessControlSections]::Access)
            $directory = Get-Item -LiteralPath $folder -ErrorAction Stop
            if ($directory.PSObject.Methods['SetAccessControl']) {
                $directory.SetAccessControl($restore)  # Windows PowerShell (.NET Framework)
            } else {
                [System.IO.FileSystemAclExtensions]::SetAccessControl($directory, $restore)  # PowerShell 7
            }
            Write-Step $true 'clean-up' "restored the access list of $folder`: $(Get-DaclSddl $folder)"
        } catch {
            Write-Step $false 'clean-up' "cannot restore the access list of $folder`: $($_.Exception.Message)"
        }
    }
}

if ($failures -gt 0) {
    Write-Host "$failures step(s) failed"
    exit 1
}
Write-Host 'all steps passed'
exit 0
