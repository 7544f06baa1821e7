// What the VirtualStore move (virtual_store_move.cpp) came to, as facts, and
// the words that ask the user and tell them how it went; only the move reads
// this.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "folders/virtual_store_move.h"

namespace 가상폴더옮기기 {

// Why the move stopped, where no file step failed.
enum class 멈춘까닭 {
    폴더없음,      // the folder is not there
    링크폴더,      // the folder is a link, or leads elsewhere
    백업권한없음,  // the user may not make the backup folder in it
    부여안됨,      // the user may not add files to the install folder: no grant in force
    기록권한없음,  // the user may not write the move's log there
};

// What stopped the move: the path at fault and why, as facts (결과메시지
// words them): the move's own reason, or the failed file step.
struct 멈춤 {
    std::wstring 경로;
    std::variant<멈춘까닭, 파일오류> 까닭;
};

struct 옮긴결과 {
    size_t 옮김 = 0;  // files whose copy's bytes are now in the install folder
    size_t 바꿈 = 0;  // of those, files that replaced another version
    std::vector<std::wstring> 링크들;  // not followed, so not moved
    // What the user's own token may not do there (create, write, read), so
    // not done: the elevated run does no more than the user could.
    std::vector<std::wstring> 권한없음;
    // Install-folder files written after the copy's version: kept as they are.
    std::vector<std::wstring> 새것남김;
    // Install-folder files that both users changed since the copy parted
    // from them: kept as they are, the copy's version staying in the copy.
    std::vector<std::wstring> 갈등;
    bool 옮기는중바뀜 = false;  // an install file changed between the listing and its replacement
    std::optional<멈춤> 멈춘곳;
    std::wstring 백업루트;  // empty until a backup was needed
    std::wstring 새이름;    // the copy's name once renamed
};

// Whether to move the `수` files of the copy.
std::wstring 물음(const 옮길곳& 곳, size_t 수);
// Elevated with no token of the user's own, nothing tells what the user may
// change: the move is left to a run that is the user.
std::wstring 보통으로하라는글(const 옮길곳& 곳, size_t 수);
// How the move went.
std::wstring 결과메시지(const 옮긴결과& 일);
// Where the move (or its log) stopped, and on the next line why.
std::wstring 멈춘곳글(const 멈춤& 멈춘곳);
// Why the copy was not renamed, for the command line's line; empty when it
// was.
std::wstring 못옮긴까닭(const 옮긴결과& 일);

}  // namespace 가상폴더옮기기
