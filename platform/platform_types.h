// The values that cross the platform boundary (platform.h): the file error
// and the facts it carries, and the small types the operations of 플랫폼 take
// and return. Nothing here includes <windows.h>.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Which operation of 플랫폼 a 파일오류 came from, so that the message can say
// what the tool was doing. Each operation below says which it reports.
enum class 파일작업 {
    기타,          // not said
    파일쓰기,      // 한줄쓰기
    파일읽기,      // 전체읽기
    파일삭제,      // 파일삭제
    파일고정,      // 고정하기
    폴더만들기,    // 개인임시폴더만들기
    폴더열기,      // 폴더고정
    잠그기,        // 임시파일독점
    프로그램시작,  // 배치실행, 관리자로실행, 바꿀수있는자기경로
};

// Why the platform refused a step of its own accord, the system having
// reported no error: the facts for the logic to word (folders/file_error_text.h).
enum class 거절 {
    없음,          // the system's error: 코드 and 설명 say it
    링크,          // a move step met a link (reparse point or hard link)
    보관연결지점,  // the kept-lists folder is a reparse point
    보관남의폴더,  // the kept-lists folder is writable by others than Administrators and SYSTEM
    너무큼,        // the file holds 크기 bytes, more than the 한도 asked for
    실행전바뀜,    // the file to run changed before it was held
    다른폴더이름,  // a rename's new name (이름) is not a single name in the folder
};

struct 거절사실 {
    거절 사유 = 거절::없음;
    std::wstring 이름;
    unsigned long long 크기 = 0, 한도 = 0;
};

// A file step that failed. Only the platform layer builds these, from the
// system's error number and text or from the facts of its own refusal; the
// logic decides what the user is told.
class 파일오류 : public std::runtime_error {
public:
    파일오류(std::wstring 경로, unsigned long 코드, std::wstring 설명,
             파일작업 작업 = 파일작업::기타)
        : std::runtime_error("file operation failed"),
          경로_(std::move(경로)), 코드_(코드), 설명_(std::move(설명)), 작업_(작업) {}
    파일오류(std::wstring 경로, unsigned long 코드, 거절사실 사실)
        : 파일오류(std::move(경로), 코드, std::wstring()) { 사실_ = std::move(사실); }
    // The same failure, said to have come from `작업`.
    파일오류(const 파일오류& 원래, 파일작업 작업) : 파일오류(원래) { 작업_ = 작업; }

    const std::wstring& 경로() const { return 경로_; }
    unsigned long 코드() const { return 코드_; }
    // The system's own wording of the failure, in the user's language; empty
    // where the system had none or the platform refused of its own accord.
    const std::wstring& 설명() const { return 설명_; }
    파일작업 작업() const { return 작업_; }
    const 거절사실& 사실() const { return 사실_; }

private:
    std::wstring 경로_;
    unsigned long 코드_;
    std::wstring 설명_;
    파일작업 작업_;
    거절사실 사실_;
};

// Which entries the existence test admits. Hidden and system entries are
// left out unless asked for: they are not the user's own files. The values
// are the attribute bits each kind adds.
enum class 속성마스크 : int {
    일반파일 = 0,   // ordinary files only
    숨김포함 = 6,   // ordinary, hidden and system files, no directories
    폴더포함 = 16,  // directories as well as ordinary files
};

// Something held for as long as the object lives: a file fixed against
// change, or the right to use the temporary files alone.
class 보유 {
public:
    virtual ~보유() = default;
};

// What 폴더고정 found at a path.
enum class 폴더상태 {
    고정됨,    // the folder itself, now held
    없음,      // nothing there, or a file
    연결지점,  // a reparse point: junction, symbolic link or mount point
    다른경로,  // a folder, but the system names it otherwise (a link higher up)
};

// A folder held by 폴더고정, and what can be asked of it through the hold,
// never by its path again.
class 고정폴더 : public 보유 {
public:
    // Opens one entry of the folder, by its bare name relative to the held
    // folder, never following a reparse point, and keeps it open without
    // delete sharing for as long as the hold lasts: a folder that holds
    // something cannot be made a reparse point. True when an entry is held
    // (now or before); false when the folder is empty, cannot be listed, or
    // none of its entries can be opened. Never fails otherwise.
    virtual bool 안의항목붙잡기() = 0;

    // True when the held folder is still no reparse point and the system
    // still names it as it did when it was held. False when either has
    // changed, or the system cannot say. Never fails.
    virtual bool 그대로인가() const = 0;
};

struct 폴더고정결과 {
    폴더상태 상태;
    std::unique_ptr<고정폴더> 잡음;  // set only for 고정됨
    // The system's own full name of the held folder, read through the hold
    // (the path asked for may differ in case, or be relative); set only for
    // 고정됨.
    std::wstring 최종경로;
};

// Where a path lies, as far as the tool is concerned.
enum class 드라이브종류 {
    이컴퓨터,  // a drive of this computer that is ready, or one the system does not know
    네트워크,  // a network path (\\server\share) or a drive mapped to one
    준비안됨,  // a drive with no medium, or not ready for another reason
};

// How a run of the tool's own program as administrator ended.
struct 관리자실행결과 {
    bool 거절됨;             // the elevation prompt was declined; nothing ran
    unsigned long 종료코드;  // the program's exit code, when it ran
};

// What a message box reports, which chooses the icon it carries.
enum class 상자종류 {
    알림,  // it went well
    경고,  // a problem found, or something the user is to do first
    오류,  // it failed
};

// ---- Types of the VirtualStore move (operations at the end of 플랫폼) ----

// What a folder entry is, as the listing tells without following anything.
enum class 항목종류 {
    파일,
    폴더,
    링크,  // a reparse point: junction, symbolic link, mount point
};

struct 폴더항목 {
    std::wstring 이름;
    항목종류 종류;
    long long 쓴때;  // last-write time, in 100 ns steps since 1601 (UTC)
    long long 만든때;  // creation time, in the same steps
};

// The code a 파일오류 carries when a move operation refused to follow a link:
// a reparse point, or a file with more than one name (hard link). The same
// number as the system's ERROR_STOPPED_ON_SYMLINK.
inline constexpr unsigned long 링크거부 = 681;

// The code a 파일오류 from 파일복사 carries when the target is not what the
// caller's listing showed: a file (or folder) stands where the name was
// free, or the file there was written, replaced or removed since. Nothing
// was written at the name. The same number as the system's
// ERROR_ALREADY_EXISTS, which is what a rename onto a taken name reports.
inline constexpr unsigned long 목록과다름 = 183;

enum class 복사방식 {
    새파일,    // the target must not exist: created with CREATE_NEW
    덮어쓰기,  // the target is an existing plain file, written through
};

struct 날짜시각 {
    int 년, 월, 일, 시, 분, 초;
};

// What the move asks the logged-on user's own token before it acts.
enum class 사용자권한 {
    파일추가,  // create a file in the folder
    폴더추가,  // create a folder in the folder
    쓰기,      // write the file's content
    읽기,      // read the file's content
};

// A folder made for one call, and what removes it.
struct 개인폴더 {
    std::wstring 경로;            // absolute, without a trailing separator
    std::unique_ptr<보유> 지움;  // removes the folder and the files in it when it goes
};

// ---- Types of the access-list operations (at the end of 플랫폼) ----

// Who owns a file or folder.
struct 소유자정보 {
    std::wstring sid;   // "S-1-5-32-544"
    std::wstring 이름;  // "BUILTIN\Administrators", or the SID where no name is known
};

// Who owns an entry, and its access list in SDDL ("D:...").
struct 항목보안 {
    소유자정보 소유자;
    std::wstring 목록;
};

// A process that runs under another user's account (see 다른사용자프로세스).
struct 남의프로세스 {
    std::wstring 이름;    // its program's file name ("notepad.exe")
    unsigned long 번호;  // its process id
    std::wstring 계정;    // "PC\kim (S-1-5-21-...)", or the SID where no name is known
};

// The code a 파일오류 from 보관폴더 carries when the folder standing there
// is someone else's: owned, or writable, by anyone but Administrators and
// SYSTEM. The same number as the system's ERROR_INVALID_OWNER.
inline constexpr unsigned long 남의소유 = 1307;
