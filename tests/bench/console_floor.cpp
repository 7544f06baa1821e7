// The start-up floor of the command line: a console program built the way
// the console twin is (static runtime, KERNEL32 and msvcrt) that does
// nothing. Whatever the twin's `/?` costs above this is its own.
int wmain() { return 0; }
