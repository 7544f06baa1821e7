<#
.SYNOPSIS
    Checks the built program against a real Windows: the real cacls, real
    access lists, a real administrator token.

.DESCRIPTION
    For a maintainer at a Windows 10 or 11 PC, in a PowerShell started with
    "Run as administrator", next to a built boansetting.com (or with
    -Program). For one product it:
      1. creates a scratch install folder under the 32-bit program-files
         folder the system records when the product has none (and only then
         removes it again);
      2. while that folder is still empty, runs "/fix" as a second process
         turns the folder into a mount point of a scratch "victim" folder the
         moment the program holds it: the program must refuse an empty folder
         (exit code 4) and the victim's access list must stay as it was; then
         puts a file into the folder, as an installed product has;
      3. runs the program without administrator rights, as UAC runs it for
         everyone who did not choose "Run as administrator": "/check" must
         work (exit code 1), "/fix" must end with 3 and change nothing; and
         with a relative and a line-broken ProgramFiles(x86), which only an
         unelevated run takes from the environment, "/check" must end with 4
         and neither run a batch file planted for the line break nor change
         anything;
      4. puts into the folder a hard link to a scratch "victim" file, then a
         junction to a scratch "victim" folder, and runs "/fix" with each:
         the program must refuse (exit code 4) and neither victim's access
         list, nor the folder's, may change;
      5. runs "/check" (expects exit code 1 and the word "missing"),
         "/fix" (expects 0, "granted"; the file put there in step 2, made
         before the fix, must then inherit Users full control) and "/check"
         again (expects 0, "ok");
      6. reads the folder's access list with Get-Acl and checks that it is
         exactly one explicit entry, BUILTIN\Users full control, inherited by
         files and subfolders, protected from the parent's entries; and that a
         new file and a new subfolder inside do inherit it;
      7. moves a file of this account's own VirtualStore copy back with an
         elevated "/move" (expects 0, "moved", the copy renamed);
      8. removes what it created.
    It also shows (INFO lines, never a failure) whether cacls itself, run
    directly on scratch folders, carries a list through a junction or a hard
    link: what decides how much a link made while cacls runs could do.
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
#
# With $programFilesX86, the program runs through PowerShell with that value
# as its ProgramFiles(x86) variable (passed in Base64, so a line break
# survives any quoting).
function Invoke-Unelevated([string] $verb, [string] $programFilesX86 = $null) {
    $name = "boansetting-smoke-$PID"
    $action = New-ScheduledTaskAction -Execute $Program -Argument "$verb $Product"
    if ($programFilesX86) {
        $value = [Convert]::ToBase64String([Text.Encoding]::Unicode.GetBytes($programFilesX86))
        $command = "[Environment]::SetEnvironmentVariable('ProgramFiles(x86)', " +
            "[Text.Encoding]::Unicode.GetString([Convert]::FromBase64String('$value'))); " +
            "& '$($Program.Replace("'", "''"))' $verb $Product; exit `$LASTEXITCODE"
        $action = New-ScheduledTaskAction -Execute (Get-Process -Id $PID).Path -Argument (
            '-NoProfile -NonInteractive -EncodedCommand ' + (ConvertTo-EncodedCommand $command))
    }
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

function ConvertTo-EncodedCommand([string] $command) {
    return [Convert]::ToBase64String([Text.Encoding]::Unicode.GetBytes($command))
}

# Unelevated, the program takes the program-files folder from the
# environment, which is the user's: a relative folder would name another one
# to cmd (which runs in the system folder), and a line break would end the
# batch line and run the rest, while its ".." parts lead back to the real
# folder. Both must be refused before cmd runs.
function Test-UnsafeProgramFiles {
    $drive = $programFiles.Substring(0, 3)
    $planted = Join-Path $drive "boansetting-smoke-$PID"  # no blank: the rest of the line runs unquoted
    $marker = Join-Path $planted 'planted-ran.txt'
    # Never -Force: anyone may create at the drive's root, and a folder (or
    # link) made there first must stop the run, not receive our files.
    New-Item -ItemType Directory -Path $planted -ErrorAction Stop | Out-Null
    Set-Content -LiteralPath (Join-Path $planted 'x.bat') -Value "@echo planted> `"$marker`"" -Encoding Ascii
    try {
        $lineBroken = $drive + "`n" + $planted + '\x.bat & rem \..\..\..\' + $programFiles.Substring(3)
        $cases = @([pscustomobject]@{ Name = 'relative'; Value = 'pf86' },
                   [pscustomobject]@{ Name = 'line-broken'; Value = $lineBroken })
        foreach ($case in $cases) {
            $before = Get-DaclSddl $folder
            $code = Invoke-Unelevated '/check' $case.Value
            $after = Get-DaclSddl $folder
            $ran = Test-Path -LiteralPath $marker
            Write-Step ($code -eq 4 -and $after -eq $before -and -not $ran) `
                "/check $Product with a $($case.Name) ProgramFiles(x86) without administrator rights (expects 4, nothing run or changed)" `
                ("exit code {0}; access list {1}; planted batch file {2}" -f $code,
                 $(if ($after -eq $before) { 'unchanged' } else { "changed to $after" }),
                 $(if ($ran) { 'RAN' } else { 'did not run' }))
        }
    } finally {
        Remove-Item -LiteralPath $planted -Recurse -Force -ErrorAction SilentlyContinue
    }
}

# A second process that waits until the program holds $folder (an open for
# DELETE then fails with a sharing violation) and at once makes it a mount
# point of $victim, through the right sharing does not guard. Exit code 0:
# mounted; 1: never saw the hold; 2: saw it but could not mount.
$racerSource = @'
using System;
using System.Runtime.InteropServices;
using System.Text;
public static class SmokeRacer {
    [DllImport("kernel32.dll", CharSet = CharSet.Unicode, SetLastError = true)]
    internal static extern IntPtr CreateFileW(string name, uint access, uint share, IntPtr security,
                                     uint disposition, uint flags, IntPtr template);
    [DllImport("kernel32.dll", SetLastError = true)]
    internal static extern bool DeviceIoControl(IntPtr handle, uint code, byte[] input, int inputSize,
                                       IntPtr output, int outputSize, out int returned, IntPtr overlapped);
    [DllImport("kernel32.dll")]
    static extern bool CloseHandle(IntPtr handle);
    const uint Delete = 0x10000, WriteAttributes = 0x100, ShareAll = 7, OpenExisting = 3;
    const uint BackupSemantics = 0x02000000, OpenReparsePoint = 0x00200000;
    static readonly IntPtr Invalid = new IntPtr(-1);
    internal static IntPtr Open(string path, uint access) {
        return CreateFileW(path, access, ShareAll, IntPtr.Zero, OpenExisting,
                           BackupSemantics | OpenReparsePoint, IntPtr.Zero);
    }
    public static int Race(string folder, string victim, int limitMs) {
        DateTime end = DateTime.Now.AddMilliseconds(limitMs);
        while (DateTime.Now < end) {
            IntPtr probe = Open(folder, Delete);
            if (probe != Invalid) { CloseHandle(probe); continue; }
            if (Marshal.GetLastWin32Error() == 32) return Mount(folder, victim);
        }
        return 1;
    }
    // The FSCTL_SET_REPARSE_POINT input that makes a folder a mount point of $victim.
    public static byte[] MountPointBuffer(string victim) {
        byte[] target = Encoding.Unicode.GetBytes(@"\??\" + victim);
        int dataLength = 8 + target.Length + 4;
        byte[] buffer = new byte[8 + dataLength];
        BitConverter.GetBytes(0xA0000003u).CopyTo(buffer, 0);  // IO_REPARSE_TAG_MOUNT_POINT
        BitConverter.GetBytes((ushort)dataLength).CopyTo(buffer, 4);
        BitConverter.GetBytes((ushort)target.Length).CopyTo(buffer, 10);
        BitConverter.GetBytes((ushort)(target.Length + 2)).CopyTo(buffer, 12);
        target.CopyTo(buffer, 16);
        return buffer;
    }
    static int Mount(string folder, string victim) {
        byte[] buffer = MountPointBuffer(victim);
        IntPtr handle = Open(folder, WriteAttributes);
        if (handle == Invalid) return 2;
        int returned;
        bool mounted = DeviceIoControl(handle, 0x000900A4, buffer, buffer.Length, IntPtr.Zero, 0,
                                       out returned, IntPtr.Zero);  // FSCTL_SET_REPARSE_POINT
        CloseHandle(handle);
        return mounted ? 0 : 2;
    }
}
'@

# Elevated, cacls would follow a mount point and replace the access list of
# the folder it leads to. A folder that holds something cannot become one;
# so the program must refuse the still empty scratch folder, however quick
# the second process is, and the victim must keep its access list.
function Test-MountPointRace {
    $victim = Join-Path $programFiles.Substring(0, 3) "boansetting-smoke-victim-$PID"
    $ready = "$victim.ready"
    New-Item -ItemType Directory -Path $victim -ErrorAction Stop | Out-Null
    Set-Content -LiteralPath (Join-Path $victim 'victim.txt') -Value 'victim' -Encoding Ascii
    $racer = $null
    try {
        $before = Get-DaclSddl $victim
        $command = "Add-Type -TypeDefinition @'`n$racerSource`n'@; " +
            "Set-Content -LiteralPath '$ready' -Value ready; " +
            "exit [SmokeRacer]::Race('$folder', '$victim', 20000)"
        $racer = Start-Process -FilePath (Get-Process -Id $PID).Path -PassThru -WindowStyle Hidden `
            -ArgumentList '-NoProfile', '-NonInteractive', '-EncodedCommand', (ConvertTo-EncodedCommand $command)
        $deadline = (Get-Date).AddSeconds(30)
        while (-not (Test-Path -LiteralPath $ready) -and (Get-Date) -lt $deadline) { Start-Sleep -Milliseconds 100 }
        $run = Invoke-Program '/fix'
        if (-not $racer.WaitForExit(30000)) { $racer.Kill() }
        $race = switch ($racer.ExitCode) { 0 { 'mounted it' } 1 { 'never saw it held' } default { 'could not mount it' } }
        $after = Get-DaclSddl $victim
        Write-Step ($run.ExitCode -eq 4 -and $after -eq $before) `
            "/fix $Product on an empty folder a second process mounts elsewhere (expects 4, victim unchanged)" `
            ("exit code {0}; the second process {1}; victim access list {2}" -f $run.ExitCode, $race,
             $(if ($after -eq $before) { 'unchanged' } else { "changed to $after" }))
    } finally {
        $item = Get-Item -LiteralPath $folder -Force -ErrorAction SilentlyContinue
        if ($null -ne $item -and ($item.Attributes -band [IO.FileAttributes]::ReparsePoint)) {
            [IO.Directory]::Delete($folder)  # the mount point only, never what it leads to
            New-Item -ItemType Directory -Path $folder -ErrorAction SilentlyContinue | Out-Null
        }
        Remove-Item -LiteralPath $victim, $ready -Recurse -Force -ErrorAction SilentlyContinue
    }
}

# Removes a link itself, never what it leads to: a junction by removing the
# directory entry alone, a hard link by deleting one of the file's names.
function Remove-Link([string] $path) {
    $item = Get-Item -LiteralPath $path -Force -ErrorAction SilentlyContinue
    if ($null -eq $item) { return }
    if ($item.Attributes -band [IO.FileAttributes]::ReparsePoint) {
        [IO.Directory]::Delete($path)
    } else {
        [IO.File]::Delete($path)
    }
}

# Elevated, cacls may carry the grant down to what the folder holds: a hard
# link names a file elsewhere, a junction leads to another folder, and both
# would take "Users: full control". While either is in the folder the
# program must refuse (exit code 4), and the victims' access lists and the
# folder's own must stay as they were.
function Test-LinksInTree {
    $root = $programFiles.Substring(0, 3)
    $victimFile = Join-Path $root "boansetting-smoke-victim-$PID.txt"
    $victimFolder = Join-Path $root "boansetting-smoke-victim-$PID"
    $hardLink = Join-Path $folder 'smoke-hardlink.txt'
    $junction = Join-Path $folder 'smoke-junction'
    try {
        # A new file or none: one made there first (a hard link, say) is not written.
        New-Item -ItemType File -Path $victimFile -Value 'victim' -ErrorAction Stop | Out-Null
        New-Item -ItemType Directory -Path $victimFolder -ErrorAction Stop | Out-Null
        $before = @((Get-DaclSddl $victimFile), (Get-DaclSddl $victimFolder), (Get-DaclSddl $folder)) -join ' ; '
        $cases = @([pscustomobject]@{ Name = 'a hard link to a file elsewhere'; Path = $hardLink; Type = 'HardLink'; Target = $victimFile },
                   [pscustomobject]@{ Name = 'a junction to a folder elsewhere'; Path = $junction; Type = 'Junction'; Target = $victimFolder })
        foreach ($case in $cases) {
            New-Item -ItemType $case.Type -Path $case.Path -Target $case.Target -ErrorAction Stop | Out-Null
            $run = Invoke-Program '/fix'
            Remove-Link $case.Path
            $after = @((Get-DaclSddl $victimFile), (Get-DaclSddl $victimFolder), (Get-DaclSddl $folder)) -join ' ; '
            Write-Step ($run.ExitCode -eq 4 -and $after -eq $before) `
                "/fix $Product with $($case.Name) in the folder (expects 4, victims and folder unchanged)" `
                ("exit code {0}, output [{1}]; access lists {2}" -f $run.ExitCode,
                 ($run.Lines -join ' | ').Replace("`t", '<TAB>'),
                 $(if ($after -eq $before) { 'unchanged' } else { "changed to $after" }))
        }
    } finally {
        Remove-Link $hardLink
        Remove-Link $junction
        Remove-Item -LiteralPath $victimFile, $victimFolder -Recurse -Force -ErrorAction SilentlyContinue
    }
}

# Whether cacls itself, setting a list with inherited entries, carries them
# through a junction or a hard link it meets on its way down: the tool
# refuses both before cmd and reports them after, but one made while cacls
# runs is out of its reach (docs/security.md). Run on scratch folders only,
# with cacls called directly; it prints what it saw, and fails nothing.
function Show-CaclsThroughLinks {
    $root = $programFiles.Substring(0, 3)
    $scratch = Join-Path $root "boansetting-smoke-cacls-$PID"
    $victimFile = "$scratch-victim.txt"
    $victimFolder = "$scratch-victim"
    $answer = "$scratch-y.txt"
    try {
        New-Item -ItemType Directory -Path $scratch, $victimFolder -ErrorAction Stop | Out-Null
        Set-Content -LiteralPath $victimFile -Value 'victim' -Encoding Ascii -ErrorAction Stop
        Set-Content -LiteralPath $answer -Value 'y' -Encoding Ascii -ErrorAction Stop
        New-Item -ItemType Junction -Path (Join-Path $scratch 'j') -Target $victimFolder -ErrorAction Stop | Out-Null
        New-Item -ItemType HardLink -Path (Join-Path $scratch 'h.txt') -Target $victimFile -ErrorAction Stop | Out-Null
        $before = @((Get-DaclSddl $victimFolder), (Get-DaclSddl $victimFile))
        & $env:ComSpec /d /c "cacls `"$scratch`" /s:D:PAI(A;OICI;FA;;;BU) < `"$answer`"" | Out-Null
        $after = @((Get-DaclSddl $victimFolder), (Get-DaclSddl $victimFile))
        foreach ($i in 0, 1) {
            $what = @('a junction', 'a hard link')[$i]
            $seen = if ($after[$i] -eq $before[$i]) { 'no (its target kept its list)' } else { "YES: its target now has $($after[$i])" }
            Write-Host ("INFO  cacls /s: carries a list through {0}: {1}" -f $what, $seen)
        }
    } catch {
        Write-Host "SKIP  whether cacls follows links: $($_.Exception.Message)"
    } finally {
        Remove-Link (Join-Path $scratch 'j')
        Remove-Link (Join-Path $scratch 'h.txt')
        Remove-Item -LiteralPath $scratch, $victimFolder, $victimFile, $answer -Recurse -Force -ErrorAction SilentlyContinue
    }
}

# A file made before the fix: the product's data files are, and the fix is
# for them. Shows whether cacls carries the entry down to what the folder
# already holds (which is also why links in the folder are refused).
function Test-ExistingFile {
    $file = Join-Path $folder 'smoke-installed.txt'
    if (-not (Test-Path -LiteralPath $file -PathType Leaf)) {
        Write-Host 'SKIP  a file made before the fix: only in a scratch folder'
        return
    }
    $inherited = @((Get-Acl -LiteralPath $file -ErrorAction Stop).GetAccessRules(
            $true, $true, [System.Security.Principal.SecurityIdentifier]) | Where-Object {
            $_.IsInherited -and $_.IdentityReference -eq $usersSid -and
            $_.AccessControlType -eq [System.Security.AccessControl.AccessControlType]::Allow -and
            $_.FileSystemRights -eq [System.Security.AccessControl.FileSystemRights]::FullControl })
    $script:caclsPropagates = $inherited.Count -eq 1
    Write-Step ($inherited.Count -eq 1) 'a file made before the fix inherits Users full control' (Get-DaclSddl $file)
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
    Test-UnsafeProgramFiles
}

# The access list alone in SDDL, e.g. "D:PAI(A;OICI;FA;;;BU)".
function Get-DaclSddl([string] $path) {
    return (Get-Acl -LiteralPath $path -ErrorAction Stop).GetSecurityDescriptorSddlForm(
        [System.Security.AccessControl.AccessControlSections]::Access)
}

# Whether cacls keeps the folder inheriting from its parent or protects
# what it sets is this Windows' own choice: shown, never a failure; the
# program's answers hold either way (see Test-RepeatAndRestore).
function Test-FolderAcl {
    $acl = Get-Acl -LiteralPath $folder -ErrorAction Stop
    $dacl = Get-DaclSddl $folder
    $rules = @($acl.GetAccessRules($true, $false, [System.Security.Principal.SecurityIdentifier]))
    $rule = if ($rules.Count -eq 1) { $rules[0] } else { $null }
    $isUsersFullControl = $null -ne $rule -and
        $rule.IdentityReference -eq $usersSid -and
        $rule.AccessControlType -eq [System.Security.AccessControl.AccessControlType]::Allow -and
        $rule.FileSystemRights -eq [System.Security.AccessControl.FileSystemRights]::FullControl -and
        $rule.InheritanceFlags -eq ([System.Security.AccessControl.InheritanceFlags]'ContainerInherit, ObjectInherit') -and
        $rule.PropagationFlags -eq [System.Security.AccessControl.PropagationFlags]::None -and
        -not $rule.IsInherited
    Write-Step $isUsersFullControl 'access list: one explicit entry, Users full control, inherited by files and subfolders' `
        ("{0} explicit entr{1}; {2}" -f $rules.Count, $(if ($rules.Count -eq 1) { 'y' } else { 'ies' }), $dacl)
    $script:caclsProtects = $acl.AreAccessRulesProtected
    Write-Host ("INFO  cacls /s:D:(...) {0}: {1}" -f $(if ($acl.AreAccessRulesProtected) {
            'protected the list it set (the folder no longer takes its parent''s entries)' } else {
            'kept the folder inheriting its parent''s entries beside the one it set' }), $dacl)
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

# --- The repeated fix and the way back ----------------------------------------
# A start-up script runs /fix at every boot, on a folder the first fix left
# with the Users entry, whichever way cacls set it; /restore puts back the
# first list the program kept for the folder, and is confirmed by that
# list's protection flag and explicit entries (inherited ones are Windows'
# to recompute). Kept files this run made for a scratch folder are removed
# at the end; the program itself never deletes one.

# The kept lists of the install folder's name, oldest first.
function Get-KeptFiles {
    $kept = Join-Path ([Environment]::GetFolderPath('CommonApplicationData')) 'BoanSetting'
    $name = Split-Path -Leaf $folder
    return @(Get-ChildItem -LiteralPath $kept -Filter "$name *.sddl" -File -ErrorAction SilentlyContinue |
             Sort-Object LastWriteTimeUtc, Name)
}

# "P" or "" for the protection flag, then the explicit entries, in order.
function Get-ExplicitPart([string] $sddl) {
    $flags = if ($sddl -match 'D:([A-Z_]*)') { $Matches[1] } else { '' }
    $explicit = foreach ($entry in [regex]::Matches($sddl, '\(([^()]*)\)')) {
        $aceFlags = $entry.Groups[1].Value.Split(';')[1]
        $pairs = @(for ($i = 0; $i -lt $aceFlags.Length; $i += 2) { $aceFlags.Substring($i, [Math]::Min(2, $aceFlags.Length - $i)) })
        if ($pairs -notcontains 'ID') { $entry.Value }
    }
    return "{0}{1}" -f $(if ($flags.Contains('P')) { 'P' } else { '' }), ($explicit -join '')
}

# The elevated /move of this account's own VirtualStore copy into the
# granted folder: each file goes in through a rename inside the folder the
# move holds, which is what only a real Windows shows works.
function Test-ElevatedMove {
    $copy = Join-Path $env:LOCALAPPDATA ('VirtualStore' + $folder.Substring(2))
    $moved = Join-Path $folder 'smoke-dat\smoke-moved.txt'
    try {
        New-Item -ItemType Directory -Path (Join-Path $copy 'smoke-dat') -Force -ErrorAction Stop | Out-Null
        Set-Content -LiteralPath (Join-Path $copy 'smoke-dat\smoke-moved.txt') -Value 'moved' -Encoding Ascii -ErrorAction Stop
        $run = Invoke-Program '/move'
        $fields = @(if ($run.Lines.Count -eq 1) { $run.Lines[0].Split("`t") })
        $passed = $run.ExitCode -eq 0 -and $fields.Count -eq 3 -and $fields[2] -ceq 'moved' -and
                  (Test-Path -LiteralPath $moved) -and -not (Test-Path -LiteralPath $copy)
        Write-Step $passed "/move $Product (expects 0, 'moved'; the file in the install folder, the copy renamed)" `
            ("exit code {0}, output [{1}]" -f $run.ExitCode, ($run.Lines -join ' | ').Replace("`t", '<TAB>'))
    } finally {
        Get-Item -Path "$copy*" -ErrorAction SilentlyContinue | Remove-Item -Recurse -Force -ErrorAction SilentlyContinue
        Remove-Item -LiteralPath (Join-Path $folder 'smoke-dat') -Recurse -Force -ErrorAction SilentlyContinue
    }
}

function Test-RepeatAndRestore {
    $keptBefore = @(Get-KeptFiles).Count
    Test-Run '/fix' 0 'granted'
    $keptAfter = @(Get-KeptFiles).Count
    Write-Step ($keptAfter -eq $keptBefore) '/fix again keeps no list and runs no cacls' "kept lists: $keptBefore before, $keptAfter after"
    Write-Host ("INFO  cacls on this Windows: {0}; files made before the fix {1} the entry" -f
        $(if ($script:caclsProtects) { 'protects the list it sets' } else { 'keeps a set list inheriting from the parent' }),
        $(if ($script:caclsPropagates) { 'take' } else { 'do NOT take' }))
    $run = Invoke-Program '/restore'
    $fields = @(if ($run.Lines.Count -eq 1) { $run.Lines[0].Split("`t") })
    $used = if ($fields.Count -eq 3 -and $fields[2] -match '^restored: (.+?\.sddl)( |$)') { $Matches[1] } else { $null }
    $oldest = @(Get-KeptFiles | Select-Object -First 1 | ForEach-Object { $_.FullName })
    $now = Get-DaclSddl $folder
    $same = $null -ne $used -and (Test-Path -LiteralPath $used) -and
            (Get-ExplicitPart ([IO.File]::ReadAllLines($used)[0])) -ceq (Get-ExplicitPart $now)
    Write-Step ($run.ExitCode -eq 0 -and $same -and $oldest.Count -eq 1 -and (Test-SamePath $used $oldest[0])) `
        "/restore $Product (expects 0, 'restored: <the oldest kept file>', protection and explicit entries as kept)" `
        ("exit code {0}, output [{1}]; oldest kept {2}; access list now {3}" -f $run.ExitCode,
         ($run.Lines -join ' | ').Replace("`t", '<TAB>'), ($oldest -join ''), $now)
}

# --- RedirectionGuard and a junction made while cacls runs --------------------
# Elevated, the program turns RedirectionGuard on for itself: where Windows
# has it, no junction that a non-administrator made is followed, and cmd
# and cacls inherit the program's token. Nothing in the program can see a
# handle kept from the granted period; this shows what such a handle can
# still do. An unelevated process of this account opens an empty subfolder
# while Users may change it; the subfolder is then closed to Users again, so
# the program's walk passes; once cacls runs, the kept handle makes the
# subfolder a mount point of a scratch victim. Shown, never a failure: the
# program reports the link after cmd (exit code 4) either way; the victim's
# access list tells whether cacls followed it.
# Compiled after $racerSource, whose usings, calls and mount-point buffer it
# shares.
$keptHandleSource = @'
public static class SmokeKeptHandle {
    // 0: mounted while cacls ran; 1: never saw cacls; 2: could not mount; 3: could not open.
    public static int Race(string folder, string victim, string ready, int limitMs) {
        IntPtr handle = SmokeRacer.Open(folder, 0x100);  // FILE_WRITE_ATTRIBUTES
        if (handle == new IntPtr(-1)) return 3;
        System.IO.File.WriteAllText(ready, "ready");
        DateTime end = DateTime.Now.AddMilliseconds(limitMs);
        while (System.Diagnostics.Process.GetProcessesByName("cacls").Length == 0) {
            if (DateTime.Now > end) return 1;
        }
        byte[] buffer = SmokeRacer.MountPointBuffer(victim);
        int returned;
        return SmokeRacer.DeviceIoControl(handle, 0x000900A4, buffer, buffer.Length, IntPtr.Zero, 0,
                                          out returned, IntPtr.Zero) ? 0 : 2;
    }
}
'@

function Show-RedirectionGuard {
    $victim = Join-Path $programFiles.Substring(0, 3) "boansetting-smoke-guard-victim-$PID"
    $many = Join-Path $folder 'smoke-many'      # walked first, so cacls takes a while
    $kept = Join-Path $folder 'zz-smoke-kept'   # walked last, empty: held with no entry
    $ready = Join-Path $env:TEMP "boansetting-smoke-guard-$PID.ready"
    $task = "boansetting-smoke-guard-$PID"
    try {
        New-Item -ItemType Directory -Path $victim, $many, $kept -ErrorAction Stop | Out-Null
        1..3000 | ForEach-Object { [IO.File]::WriteAllText((Join-Path $many "$_.txt"), 'x') }
        & icacls $kept /grant '*S-1-5-32-545:(WA)' | Out-Null
        $before = Get-DaclSddl $victim
        $command = "Add-Type -TypeDefinition @'`n$racerSource`n$keptHandleSource`n'@; " +
            "exit [SmokeKeptHandle]::Race('$kept', '$victim', '$ready', 60000)"
        $action = New-ScheduledTaskAction -Execute (Get-Process -Id $PID).Path -Argument (
            '-NoProfile -NonInteractive -EncodedCommand ' + (ConvertTo-EncodedCommand $command))
        $principal = New-ScheduledTaskPrincipal -UserId $identity.Name -LogonType Interactive -RunLevel Limited
        Register-ScheduledTask -TaskName $task -Action $action -Principal $principal -Force -ErrorAction Stop | Out-Null
        Start-ScheduledTask -TaskName $task -ErrorAction Stop
        $deadline = (Get-Date).AddSeconds(60)
        while (-not (Test-Path -LiteralPath $ready) -and (Get-Date) -lt $deadline) { Start-Sleep -Milliseconds 100 }
        if (-not (Test-Path -LiteralPath $ready)) { throw 'the unelevated process did not open the subfolder' }
        & icacls $kept /remove:g '*S-1-5-32-545' | Out-Null
        $run = Invoke-Program '/fix'
        do { Start-Sleep -Milliseconds 250 } while ([string](Get-ScheduledTask -TaskName $task).State -eq 'Running' -and (Get-Date) -lt $deadline)
        $race = switch ((Get-ScheduledTaskInfo -TaskName $task).LastTaskResult) {
            0 { 'made the subfolder a mount point while cacls ran' } 1 { 'never saw cacls run' }
            2 { 'could not make the mount point' } default { 'could not open the subfolder' } }
        $after = Get-DaclSddl $victim
        Write-Host ("INFO  RedirectionGuard (Windows {0}): an unelevated process {1}; /fix ended with {2}; cacls {3}" -f
            [Environment]::OSVersion.Version, $race, $run.ExitCode,
            $(if ($after -eq $before) { 'did not follow it (the victim kept its list)' } else { "FOLLOWED it: the victim now has $after" }))
    } catch {
        Write-Host "SKIP  RedirectionGuard: $($_.Exception.Message)"
    } finally {
        Unregister-ScheduledTask -TaskName $task -Confirm:$false -ErrorAction SilentlyContinue
        Remove-Link $kept
        Remove-Item -LiteralPath $many, $kept, $victim, $ready -Recurse -Force -ErrorAction SilentlyContinue
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

# Where the elevated program looks: the 32-bit program-files folder the
# system records (the 64-bit view of the registry, whatever this PowerShell
# is), never the environment.
$currentVersion = [Microsoft.Win32.RegistryKey]::OpenBaseKey(
    [Microsoft.Win32.RegistryHive]::LocalMachine, [Microsoft.Win32.RegistryView]::Registry64).OpenSubKey(
    'SOFTWARE\Microsoft\Windows\CurrentVersion')
$programFiles = [string]$currentVersion.GetValue('ProgramFilesDir (x86)', $null, 'DoNotExpandEnvironmentNames')
if ([string]::IsNullOrEmpty($programFiles)) {
    $programFiles = [string]$currentVersion.GetValue('ProgramFilesDir', $null, 'DoNotExpandEnvironmentNames')
}
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

$keptAtStart = @(Get-KeptFiles | ForEach-Object { $_.FullName })
try {
    # A fresh folder only inherits the program-files entries; an existing one
    # may already hold the entry from an earlier fix.
    $hadEntry = (Get-DaclSddl $folder).Contains('(A;OICI;FA;;;BU)')
    if ($hadEntry -and $created) {
        Write-Step $false 'scratch folder' 'a new folder already holds the Users entry: the check cannot be tested here'
    }
    if ($created) {
        Test-MountPointRace
        # An installed product's folder holds its files; the fix refuses an
        # empty one.
        Set-Content -LiteralPath (Join-Path $folder 'smoke-installed.txt') -Value 'x' -Encoding Ascii
    }
    Test-Unelevated $(if ($hadEntry) { 0 } else { 1 })
    # A folder that already holds just the grant's list is not granted
    # again, so nothing there is refused.
    if (-not $hadEntry) { Test-LinksInTree }
    Show-CaclsThroughLinks
    if ($hadEntry) { Test-Run '/check' 0 'ok' } else { Test-Run '/check' 1 'missing' }
    Test-Run '/fix' 0 'granted'
    Test-ExistingFile
    Test-Run '/check' 0 'ok'
    Test-FolderAcl
    Test-Inheritance
    Test-ElevatedMove
    Test-RepeatAndRestore
    Show-RedirectionGuard
} catch {
    Write-Step $false 'unexpected error' $_.Exception.Message
} finally {
    if ($created) {
        # The kept lists of a scratch folder this run made: no product's.
        Get-KeptFiles | Where-Object { $keptAtStart -notcontains $_.FullName } |
            Remove-Item -Force -ErrorAction SilentlyContinue
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

# --- What a VirtualStore copy's creation time means --------------------------
# The move (boansetting /move and the window's) treats a file that both the
# user's copy and the install folder changed since they parted as a conflict.
# Windows does not document what the copy's creation time holds: when it
# copied the file into the VirtualStore, or the original's own creation time
# carried over. This step lets Windows show it (INFO lines, never a failure):
# an unelevated, 32-bit program without a manifest (the kind Windows
# virtualizes) appends to a file of a protected folder whose creation time is
# set far back, and the copy's times are compared with that and with the
# moment of the write.
function Show-VirtualStoreTimes {
    $protected = ${env:ProgramFiles(x86)}
    if (-not $protected) { $protected = $env:ProgramFiles }
    $scratch = Join-Path $protected "boansetting-smoke-vs-$PID"
    $file = Join-Path $scratch 'shared.dat'
    $writer = Join-Path $env:TEMP "boansetting-smoke-vs-$PID.exe"
    $task = "boansetting-smoke-vs-$PID"
    $copyFolder = Join-Path $env:LOCALAPPDATA ('VirtualStore' + $scratch.Substring(2))
    try {
        if ($PSVersionTable.PSEdition -ne 'Desktop') { throw 'needs Windows PowerShell 5.1 to build the 32-bit writer' }
        New-Item -ItemType Directory -Path $scratch -ErrorAction Stop | Out-Null
        Set-Content -LiteralPath $file -Value 'original' -Encoding Ascii -ErrorAction Stop
        $longAgo = Get-Date -Year 2001 -Month 1 -Day 1 -Hour 12 -Minute 0 -Second 0
        [IO.File]::SetCreationTime($file, $longAgo)
        [IO.File]::SetLastWriteTime($file, $longAgo)
        $parameters = New-Object System.CodeDom.Compiler.CompilerParameters
        $parameters.GenerateExecutable = $true
        $parameters.OutputAssembly = $writer
        $parameters.CompilerOptions = '/platform:x86 /nowin32manifest'
        Add-Type -TypeDefinition 'public static class W { public static void Main(string[] a) { System.IO.File.AppendAllText(a[0], "user\r\n"); } }' `
            -CompilerParameters $parameters -ErrorAction Stop
        $action = New-ScheduledTaskAction -Execute $writer -Argument "`"$file`""
        $principal = New-ScheduledTaskPrincipal -UserId $identity.Name -LogonType Interactive -RunLevel Limited
        Register-ScheduledTask -TaskName $task -Action $action -Principal $principal -Force -ErrorAction Stop | Out-Null
        $before = Get-Date
        Start-ScheduledTask -TaskName $task -ErrorAction Stop
        $copy = Join-Path $copyFolder 'shared.dat'
        $deadline = (Get-Date).AddSeconds(30)
        while (-not (Test-Path -LiteralPath $copy) -and (Get-Date) -lt $deadline) { Start-Sleep -Milliseconds 250 }
        Start-Sleep -Milliseconds 500
        $after = Get-Date
        if (-not (Test-Path -LiteralPath $copy)) { throw "no VirtualStore copy appeared at $copy (UAC off, or the write was not virtualized)" }
        $made = (Get-Item -LiteralPath $copy).CreationTime
        $folderMade = (Get-Item -LiteralPath $copyFolder).CreationTime
        $meaning = if ($made -ge $before.AddSeconds(-2) -and $made -le $after) { 'when Windows copied the file' }
            elseif ([Math]::Abs(($made - $longAgo).TotalSeconds) -lt 2) { "the original's own creation time, carried over" }
            else { 'neither (see the times)' }
        Write-Host ("INFO  a VirtualStore copy's creation time is {0}: copy created {1:u}, original created {2:u}, written between {3:u} and {4:u}" -f
            $meaning, $made, $longAgo, $before, $after)
        $folderMeaning = if ($folderMade -ge $before.AddSeconds(-2)) { 'when Windows made it' } else { 'earlier than the write' }
        Write-Host ("INFO  the copy's folder was created {0}: {1:u}; the original still reads '{2}'" -f
            $folderMeaning, $folderMade, ((Get-Content -LiteralPath $file) -join ' '))
    } catch {
        Write-Host "SKIP  what a VirtualStore copy's creation time means: $($_.Exception.Message)"
    } finally {
        Unregister-ScheduledTask -TaskName $task -Confirm:$false -ErrorAction SilentlyContinue
        Remove-Item -LiteralPath $scratch, $copyFolder, $writer -Recurse -Force -ErrorAction SilentlyContinue
    }
}
Show-VirtualStoreTimes

if ($failures -gt 0) {
    Write-Host "$failures step(s) failed"
    exit 1
}
Write-Host 'all steps passed'
exit 0
