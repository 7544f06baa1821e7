// What one command on a product's install folder comes to: the one answer
// that leaves the permission module, for the window and the console alike.
// The words for each kind, its console word and its exit code are the
// app's (app/commands.cpp); here is only what happened and its facts.
#pragma once

#include <string>

#include "platform/platform.h"

namespace 보안방화벽 {

enum class 결과종류 {
    설정정상,        // check: the Users entry is there
    설정문제,        // check: it is not
    설정완료,        // fix: granted, and a second check found the entry
    설정실패,        // fix: granted, but the second check did not find it
    관리자권한필요,  // fix: cacls did not process the folder
    제품없음,        // the text names no product; nothing ran
    폴더없음,        // the install folder is missing or a file; nothing ran
    시스템오류,      // a temporary file, cacls itself, or the system failed; or the
                     // tool refused to run (an unsafe path, a junction, another
                     // instance busy, cmd not started, an oversized output)
    복원완료,        // restore: the first kept list is back, as a query confirms
    복원실패,        // restore: cacls took it, but the query found another list
    복원권한필요,    // restore: cacls did not process the folder, or the kept
                     // lists were out of reach without administrator rights
    보관없음,        // restore: no list was kept for the folder; nothing ran
    복원거부,        // restore: the kept list is none to go back to (nothing
                     // ran), or it is back with the other protection flag or
                     // under an owner who may change it again; the reason
                     // says which
    // The move of the user's VirtualStore copy (app/move_command.h), which
    // runs no cacls but answers in the same family:
    옮김완료,        // every file is in place or kept, and the copy is renamed
    옮길것없음,      // no copy, or no file in it
    옮기지못함,      // nothing moved, or not all: the reason says what stopped it
};

struct 명령결과 {
    결과종류 종류;
    // The facts the kind's words need: the folder for 폴더없음, the kept
    // file put back for 복원완료, the whole text for 시스템오류, 복원거부 and
    // 옮기지못함; nothing for the others.
    std::wstring 사유;
};

enum class 명령 { 검사, 설정, 복원 };

// Checks and holds `대상경로` once (대상잡기) and runs `할일` on it: the
// check; the fix, which grants and then queries again, for the grant's
// own output says at most that the folder was processed; or the restore.
// A missing folder is 폴더없음. A path cmd could read otherwise, a missing
// cacls, or anything the procedures refuse is thrown as 실행거부; a failed
// file step as 파일오류.
명령결과 실행(플랫폼& 시스템, const std::wstring& 대상경로, 명령 할일);

}  // namespace 보안방화벽
