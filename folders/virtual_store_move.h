// Steps 3 and 4 of the instruction picture done for the user: the files
// Windows redirected into the VirtualStore copy of the install folder are
// copied back over the install folder, the files they replace are first
// backed up, and the copy is renamed so that Windows stops serving it.
//
// Nothing is ever deleted, and a run that stops half way can simply be
// repeated: a file whose install-folder version already holds the copy's
// bytes is left alone (neither backed up nor written again), every run
// backs up into a folder of its own made anew, and the copy is renamed only
// after a run in which every file was in place.
//
// The tool runs elevated, the copy belongs to the user and the install
// folder to every user of the PC, so no link is followed: a reparse point in
// the copy (or in the install folder where a file or folder of the copy
// goes) is left where it is and reported, and the copy is then not renamed.
// Every folder is held from before anything inside it is read or made until
// its files are done, and what is inside is reached through that hold by one
// name: a folder turned into a link meanwhile (an empty one can be, hold or
// not) leads nowhere else.
//
// After the fix other users write the install folder too. A file there that
// both sides changed since the copy parted from it (another user saved it
// directly while Windows still served this user's copy) is a conflict: it
// is kept, named, and the copy's version stays in the copy, which is renamed
// as usual. When they parted is not known exactly: the copy's creation time
// may be when Windows copied the file, or the original's own creation time
// carried over, so the parting is taken no earlier than the creation of the
// copy's folder that holds it, nor than the first grant on the install folder
// (before it, Windows redirected every write of the user's, so no copy parted
// later). Otherwise the newer side wins: a file of the install folder written
// later than the copy's version is kept too. So is one written (or made)
// after the move listed its folder: just before replacing, the platform
// compares what is there with what the listing showed, and the copy then
// keeps its name. No file is ever left part old, part new: the platform
// writes each version beside its target and renames it over, so a stopped
// copy leaves the old file and its time.
//
// Nothing moves into an install folder the user may not add files to: the
// grant is not in force there, and the move says to set it first.
//
// Elevated, the move does only what the logged-on user's own token may:
// what it may not (a file into a folder closed to Users, over a file they
// may not write, a backup of a file they may not read) is listed and not
// done, and the copy is then not renamed. With no such token (UAC off), or
// elevated as another account than the desktop's user (whose linked token
// and profile are not the user's), the elevated window does not move at all.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace 가상폴더옮기기 {

struct 옮길곳 {
    std::wstring 가상폴더;  // the product's VirtualStore copy (button 3)
    std::wstring 설치폴더;  // the product's install folder
    std::wstring 백업부모;  // the user's local application-data folder
    std::wstring 제품이름;  // names the backup folder
    std::wstring 목록이름;  // the product as the list names it, for the user
    // When the install folder was first granted (as a listing's times), or
    // 0 when that is not known here.
    long long 첫부여때 = 0;
};

struct 옮긴결과;

// The files the copy holds that the move would bring over: none for no
// copy, an empty one, or a copy that is itself a link.
std::size_t 파일수(플랫폼& 시스템, const std::wstring& 가상폴더);

// Moves the copy's `전체` files without asking, as the window does on Yes
// and `/move` does at once, and says how it went.
옮긴결과 옮기기(플랫폼& 시스템, const 옮길곳& 곳, std::size_t 전체);

// Looks at the copy and, when it holds files, asks whether to move them;
// on Yes moves them and tells how it went. With no copy, no files in it, or
// a copy that is itself a link, nothing is asked and nothing changes.
void 제안하기(플랫폼& 시스템, const 옮길곳& 곳);

}  // namespace 가상폴더옮기기
