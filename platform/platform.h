// The one boundary between the tool's logic and the operating system.
//
// Everything the logic needs from Windows is an operation of `플랫폼`. The
// Win32 implementation lives in win32_*.cpp, one file per concern; the tests
// hand the logic a recording fake instead. Nothing here includes <windows.h>.
//
// Strings are UTF-16/UTF-32 `std::wstring` inside the tool; an implementation
// converts them to the system's ANSI code page where they cross into files,
// and back when files are read. Process creation and shell calls take them
// as UTF-16, unconverted.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform_types.h"

class 플랫폼 {
public:
    virtual ~플랫폼() = default;

    // The absolute form of a path, resolved against the tool's own current
    // directory and drive (a path without one means the same file to the
    // tool and to the processes it starts). The path itself when it cannot
    // be resolved. Never fails.
    virtual std::wstring 전체경로(const std::wstring& 경로) const = 0;

    // The Windows system folder (C:\Windows\System32), without a trailing
    // separator; empty if Windows does not say.
    virtual std::wstring 시스템폴더() const = 0;

    // The program-files folder the system records, never an environment
    // variable: the value `ProgramFilesDir (x86)` (x86용) or `ProgramFilesDir`
    // of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion in the 64-bit view of
    // the registry, as stored (a REG_SZ only: expanding a REG_EXPAND_SZ would
    // read the environment). Empty when the value is missing or of another
    // type. Never fails.
    virtual std::wstring 시스템프로그램폴더(bool x86용) const = 0;

    // True when the process runs with an elevated (administrator) token.
    // False when the system cannot say. Never fails.
    virtual bool 관리자권한() const = 0;

    // The profile folder of the process's own user (C:\Users\kim), as the
    // system records it for the account, never from an environment variable;
    // without a trailing separator, empty when the system does not say.
    // Never fails.
    virtual std::wstring 사용자프로필폴더() const = 0;

    // True when `글` converts to the code page the tool writes its batch
    // files in, and to the one cmd reads them with, and back, exactly: no
    // character replaced by a default or by a look-alike. Never fails.
    virtual bool 코드페이지로그대로(const std::wstring& 글) const = 0;

    // A new, empty folder under the Temp folder of the Windows folder (which
    // the system names; no environment variable counts), with a name no one
    // can guess, that only Administrators and SYSTEM may use. Creation fails
    // if anything already stands at the name. For an elevated process, whose
    // files must lie where no ordinary user can reach them. Throws 파일오류
    // (폴더만들기).
    virtual 개인폴더 개인임시폴더만들기() = 0;

    // Value of an environment variable (names are case-insensitive), or the
    // empty string when it is not set. Never fails.
    virtual std::wstring 환경변수(const std::wstring& 이름) const = 0;

    // Name of the first entry that matches `경로` and the mask, or the empty
    // string when nothing matches. A path that ends in a separator stands for
    // the entries inside that folder, so with 폴더포함 an existing folder given
    // with a trailing separator matches (its own "." entry). Never fails.
    virtual std::wstring 존재검사(const std::wstring& 경로, 속성마스크 마스크) const = 0;

    // Deletes one file, read-only or not. Throws 파일오류 (파일삭제) when the
    // file is still there afterwards.
    virtual void 파일삭제(const std::wstring& 경로) = 0;

    // Replaces the file with a new one holding `줄` in the ANSI code page,
    // followed by CR LF, flushed to the disk before it returns. Throws
    // 파일오류 (파일쓰기) on any failure; one after the new file was made
    // removes it first, through its own handle, so no part of a line stays.
    virtual void 한줄쓰기(const std::wstring& 경로, const std::wstring& 줄) = 0;

    // Fixes the file written by 한줄쓰기(경로, 줄) against change and checks,
    // under that hold, that it still holds exactly that line: a process that
    // replaced it in between is caught rather than obeyed. Throws 파일오류
    // (파일고정) when the file cannot be held or no longer holds the line.
    virtual std::unique_ptr<보유> 고정하기(const std::wstring& 경로, const std::wstring& 줄) = 0;

    // Opens the folder itself, never what a reparse point at its name leads
    // to, and checks that the system's own full name for it is the absolute
    // form of `경로` (case aside). When both hold, the folder is held until the
    // returned 고정폴더 goes: it can then be neither deleted nor renamed, and
    // once 안의항목붙잡기 holds an entry, not made a reparse point either
    // (sharing does not guard the right that sets one). Needs no right to
    // list the folder, so it is also the test of whether a folder is there;
    // where listing is denied the folder is held through the right to
    // traverse it, and where even that is denied it is still checked, but
    // not held. Throws 파일오류 (폴더열기) on a failure other than those
    // 폴더상태 names.
    virtual 폴더고정결과 폴더고정(const std::wstring& 경로) = 0;

    // Waits at most `최대대기밀리초` until no other instance of the tool in
    // this session uses the temporary files, and keeps them for this one
    // until the object goes. The fixed file names would otherwise let two
    // instances read each other's results. Only an instance that uses the
    // user's temporary folder needs it (an elevated one works in a folder
    // made for each call). Returns nothing when
    // the time is up; throws 파일오류 (잠그기) when the system refuses the
    // means of waiting, so that the tool never runs unserialised without
    // saying so.
    virtual std::unique_ptr<보유> 임시파일독점(unsigned long 최대대기밀리초) = 0;

    // Whole content of the file, decoded from the ANSI code page, nothing
    // trimmed. A missing file is created empty and reads as empty: a command
    // that printed nothing leaves no file to read. Throws 파일오류 (파일읽기)
    // on any failure, and, without reading it, for a file larger than
    // `최대바이트`.
    virtual std::wstring 전체읽기(const std::wstring& 경로, std::size_t 최대바이트) = 0;

    // Runs the batch file through the system folder's own cmd.exe, never one
    // looked up, with AutoRun and delayed expansion off (/d /v:off), hidden,
    // in the system folder, with an environment of the tool's own (the
    // system's folders, PATH the system folder, PATHEXT the standard list:
    // nothing a user set can choose which program a name in the batch file
    // starts), and returns when cmd has ended; the wait has no time limit.
    // The path reaches cmd as UTF-16, unconverted. Throws 파일오류
    // (프로그램시작), naming cmd.exe, when cmd cannot be started.
    virtual void 배치실행(const std::wstring& 배치경로) = 0;

    // Starts this program's own file elevated with the "runas" verb and
    // `인자` as its arguments, and waits for it as 배치실행 waits: without a
    // time limit, the window repainting, user input dropped. The file is the
    // running module, held since the start (or else now) without write or
    // delete sharing for as long as the process lives, and started by the
    // final path the system gives that hold: never a path from outside, and
    // no link or rename made since decides what starts. Throws 파일오류
    // (프로그램시작), with the program's path, when it cannot be held or
    // started for another reason than a declined prompt.
    virtual 관리자실행결과 관리자로실행(const std::wstring& 인자) = 0;

    // Opens a folder in the file manager or an address in the browser with the
    // shell's "open" verb, passing it as UTF-16. Returns at once; the outcome
    // is not reported.
    virtual void 셸열기(const std::wstring& 대상) = 0;

    // Hands the folder or web address to the desktop shell of the logged-on
    // user, which opens it as "open" does there: in the user's own,
    // unelevated context. False, with nothing started, where no desktop
    // shell takes it. Never throws.
    virtual bool 사용자로열기(const std::wstring& 대상) = 0;

    // Shows a modal message box with an OK button only, and the icon of its
    // kind; returns when the user has closed it.
    virtual void 메시지상자(const std::wstring& 텍스트, 상자종류 종류) = 0;

    // Puts `글` on the clipboard as text, in place of whatever was there.
    // False, with the clipboard as it was, where it cannot (another program
    // holds it open, say). Never throws.
    virtual bool 클립보드에(const std::wstring& 글) = 0;

    // What this process's user could change of the program that 관리자로실행
    // starts: the file itself (write, delete, rename, its access list or
    // owner), its folder (add a file or folder beside it, delete in it), or a
    // folder above (rename or delete it, or change its access list or
    // owner), as the system's access check of this process's token answers,
    // or any of them owned by someone other than Administrators, SYSTEM or
    // the installer service. The nearest such path, the file's first; empty
    // when there is none. Throws 파일오류 (프로그램시작) when it cannot tell.
    virtual std::wstring 바꿀수있는자기경로() = 0;

    // Where `경로`, an absolute path, lies: a network path by its form, a
    // drive by what the system says of its root. Never fails.
    virtual 드라이브종류 드라이브(const std::wstring& 경로) const = 0;

    // ---- Moving the VirtualStore copy into the install folder ----
    // The copy belongs to the user, the install folder to every user, and
    // the tool usually runs elevated. So the move works through held
    // folders: `폴더` is a 보유 this platform returned from 폴더고정,
    // 하위폴더고정 or 하위폴더만들기 (another throws 파일오류), and `이름` one
    // name inside it, opened relative to the folder's handle, never by a
    // path looked up again, and never followed where it is a link. Whatever
    // the folder's path has become since the hold (a junction, say), the
    // work stays inside the folder held. An object whose system name is not
    // the held folder's name followed by `이름` is neither read nor written
    // (링크거부). 파일오류 names the path meant.

    // The entries of the held folder, without "." and "..", hidden and
    // system ones included, each with its kind, last-write and creation
    // times as the listing reports them (a link is never opened). Throws
    // 파일오류 when the folder cannot be listed.
    virtual std::vector<폴더항목> 폴더항목들(const 보유& 폴더) = 0;

    // Holds the folder `이름` inside the held `폴더` as 폴더고정 holds one:
    // 연결지점 for a reparse point, 없음 for nothing or a file, 다른경로 for
    // a system name not its own; the hold lets the folder be listed.
    virtual 폴더고정결과 하위폴더고정(const 보유& 폴더, const std::wstring& 이름) = 0;

    // Creates the folder `이름` inside the held `폴더` and returns it held
    // from its creation handle, so it is never looked up by path. Throws
    // 파일오류 when anything already stands at the name, or it cannot be made.
    virtual std::unique_ptr<보유> 하위폴더만들기(const 보유& 폴더, const std::wstring& 이름) = 0;

    // True when the files `이름` of both held folders hold the same bytes.
    // Each is opened itself, shared for reading only (a file some program
    // is writing is not compared). Throws 파일오류 when either cannot be
    // read, with the code 링크거부 when either is a reparse point, a folder
    // or a file with more than one name.
    virtual bool 같은내용(const 보유& 가, const 보유& 나, const std::wstring& 이름) = 0;

    // Copies the bytes and the last-write time of the file `이름` of `원본`
    // to the file of that name in `대상`. The source is refused (링크거부)
    // as in 같은내용. The bytes go into a new file of an unguessable name
    // beside the target, which takes the target's name only once complete,
    // in one rename through the held folder; on any failure the new file is
    // removed through its own handle. 새파일: the rename replaces nothing,
    // so whatever stands at the name makes the copy fail (목록과다름 where
    // it was the rename that found the name taken). 덮어쓰기: the target
    // must be a plain file with one name (else 링크거부); once the new bytes
    // are complete it is opened through the folder's handle, and only when
    // the last-write time read through that handle is still `목록쓴때` (what
    // the caller's listing showed) does the new file get its access list and
    // replace it; a target written, replaced or removed since is left as it
    // is (목록과다름). So the target holds either all its old bytes, with its
    // old last-write time, or all the new ones. `목록쓴때` is not used by
    // 새파일. Throws 파일오류 naming the path at fault.
    virtual void 파일복사(const 보유& 원본, const 보유& 대상, const std::wstring& 이름,
                          복사방식 방식, long long 목록쓴때) = 0;

    // Renames the entry `원래` of the folder at `폴더` to `새이름` in the same
    // folder. The folder is opened itself (a link at or above its path is
    // refused, 링크거부) without keeping anyone out: a hold of it would
    // keep out the rename itself. The entry is opened relative to it and
    // renamed through that handle to a name relative to it, so no path is
    // looked up twice; a link is renamed itself, never followed. Throws
    // 파일오류 (for the entry) when `새이름` exists or is not a single name,
    // or the rename fails.
    virtual void 이름바꾸기(const std::wstring& 폴더, const std::wstring& 원래,
                            const std::wstring& 새이름) = 0;

    // The text of the file `이름` of the held `폴더`, read as UTF-8 (a
    // byte-order mark left out); nothing when no file stands at the name.
    // The file is opened itself and refused as 같은내용 refuses one (링크거부);
    // one larger than `최대바이트` is not read (거절::너무큼). Throws 파일오류
    // naming the path meant.
    virtual std::optional<std::wstring> 안의글읽기(const 보유& 폴더, const std::wstring& 이름,
                                                   std::size_t 최대바이트) = 0;

    // Puts `글`, as UTF-8 with a byte-order mark, at the name `이름` of the
    // held `폴더`: into a new file of an unguessable name beside it, which
    // takes the name in one rename through the folder's handle once
    // complete, replacing a file there (a link at the name is replaced
    // itself, never followed); on any failure the new file is removed
    // through its own handle. So the name holds all of the old text or all
    // of the new. Throws 파일오류 naming the path meant.
    virtual void 안의글바꿔쓰기(const 보유& 폴더, const std::wstring& 이름,
                                const std::wstring& 글) = 0;

    // The local date and time. Never fails.
    virtual 날짜시각 지금() const = 0;

    // Asks a question in a modal Yes/No box with the tool's title; true for
    // Yes. Returns when the user has answered.
    virtual bool 예아니오(const std::wstring& 텍스트) = 0;

    // Shows `글` as the progress of long work (the empty text clears it) and
    // lets the window paint meanwhile; user input that arrives is dropped.
    // Never fails.
    virtual void 진행표시(const std::wstring& 글) = 0;

    // True when the logged-on user's own token would be granted `권한`, by
    // the access list read through a handle opened inside the held `폴더`:
    // on the held folder itself (파일추가, 폴더추가; `이름` empty) or on its
    // entry `이름` (쓰기, 읽기), a link opened itself. The token is this
    // process's own when it is not elevated, and the unelevated one linked
    // to it when it is. False when there is no such token (see
    // 사용자토큰있음). Throws 파일오류 when the list cannot be read.
    virtual bool 사용자에게허용(const 보유& 폴더, const std::wstring& 이름, 사용자권한 권한) = 0;

    // False for an elevated process with no unelevated token linked to its
    // own (UAC off, SYSTEM, a service): nothing tells then what the
    // logged-on user may do. True otherwise. Never fails.
    virtual bool 사용자토큰있음() = 0;

    // True when this process runs under the account of the user logged on
    // at this desktop, the one its shell runs as. False where they differ
    // (an administrator's name and password typed at the elevation prompt
    // run it as that administrator, and the token linked to theirs is not
    // the logged-on user's) or where no shell runs to tell. Never fails.
    virtual bool 바탕화면사용자계정() = 0;

    // ---- Keeping the access list a grant replaces ----

    // The access list of the folder that `잡음` holds (a hold from
    // 폴더고정), read through that very handle, in SDDL with its flags
    // ("D:PAI(A;...)...") and nothing else: what `cacls /s:` takes to put it
    // back exactly. Throws 파일오류 naming `경로` when it cannot be read, or
    // when `잡음` is no folder hold of this platform.
    virtual std::wstring 접근목록(const 보유& 잡음, const std::wstring& 경로) = 0;

    // The tool's own folder under the program-data folder the system names
    // (never an environment variable), where the lists are kept; made, for
    // Administrators and SYSTEM only, when it is missing. One that stands
    // there already is refused (파일오류, the code 링크거부 for a link) when
    // it is a link or a file, or (the code 남의소유) when its owner or an
    // entry of its access list lets anyone else write to it (judged only
    // where the file system keeps the owner it is given: Wine does not). A process without
    // administrator rights can neither make it nor write into it.
    virtual std::wstring 보관폴더() = 0;

    // True when the file system keeps the access lists and owners it is
    // given, so that a list read back tells who may write. Wine, for one,
    // makes every list up from the Unix file mode. Throws 파일오류 when it
    // cannot tell: a guard that rests on the answer must not pass on a
    // failure.
    virtual bool 접근목록이지켜짐() = 0;

    // The owner of what `잡음` holds (a hold from 폴더고정 or
    // 하위폴더고정), read through that very handle: its SID in the string
    // form ("S-1-5-32-544") and, where the system knows it, the account's
    // name ("BUILTIN\Administrators"; else the SID again). Throws 파일오류
    // naming `경로` when it cannot be read.
    virtual 소유자정보 소유자(const 보유& 잡음, const std::wstring& 경로) = 0;

    // True when the file `이름` of the held `폴더`, opened itself through
    // the folder's handle, never followed, is a link: it has more than one
    // name (hard links), or has become a reparse point or a folder since it
    // was listed; false when it is gone. Throws 파일오류 naming the path
    // meant when it cannot be opened.
    virtual bool 링크파일인가(const 보유& 폴더, const std::wstring& 이름) = 0;

    // The owner and access list of the entry `이름` of the held `폴더` (a
    // file, or a link opened itself, never followed), read as 소유자 and
    // 접근목록 read them; nothing when it is gone. Throws 파일오류 naming the
    // path meant when it cannot be opened or read.
    virtual std::optional<항목보안> 안의보안(const 보유& 폴더, const std::wstring& 이름) = 0;

    // The first process, in any session, that runs under an account other
    // than this process's own and not one of Windows' own (윈도우자신의계정 in
    // names.h), as the system's session service lists them with their
    // accounts; a process whose account the service does not give does not
    // count. Nothing when there is none.
    // Throws 파일오류 when the processes cannot be listed: a guard that rests
    // on the answer must not pass on a failure.
    virtual std::optional<남의프로세스> 다른사용자프로세스() = 0;
};
