// The command-line mode of both programs: boansetting.exe run with
// arguments, and its console twin boansetting.com.
#pragma once

#include <string>
#include <vector>

// Restricts the DLL search to the system folder: run as administrator from a
// Downloads folder, the program must not load a DLL planted beside it. Both
// programs call it first thing.
void DLL은시스템폴더에서만();

// The arguments the program was started with, its own name left out, split
// as Windows programs split them.
std::vector<std::wstring> 프로그램인자();

// Runs the command line with the process's standard handles and returns the
// exit code. Shows nothing, not even the system's own error boxes: it may run
// as SYSTEM with no one at the screen.
int 명령줄모드(const std::vector<std::wstring>& 인자들);
