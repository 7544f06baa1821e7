// The permission module's procedures: they run the system's `cacls` through
// one-line batch files, to read or to set the access list of a product's
// install folder. The commands the window and the console run, and the one
// answer they get, are in answer.h. What cacls's text means is read in
// access_list.h; the lists a grant replaces are kept by kept_lists.h.
//
// A command holds the install folder once (대상잡기) and hands the hold to
// each procedure it runs on it, so that nothing looks the path up again.
//
// Every procedure owns its temporary files from creation to deletion within
// one call, and uses them alone. Elevated, the files live in a folder made
// for the call that only administrators can reach; otherwise in the user's
// temporary folder, and another instance of the tool waits, for a while. What
// the procedures refuse to do, or cannot get done, they throw: 파일오류 for
// a file step, 실행거부 for the rest (holding the 파일오류 where a failed
// file step is the reason). A result is only ever what cacls said.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "permission/access_list.h"
#include "permission/kept_lists.h"
#include "platform/platform.h"

namespace 보안방화벽 {

// A Boolean as the callers test it: true is all bits set, and they compare
// with -1 exactly, so only these two values are ever returned.
using 플래그 = std::int16_t;
inline constexpr 플래그 참 = -1;
inline constexpr 플래그 거짓 = 0;

// What the Korean `cacls` prints for each folder it has processed.
inline constexpr wchar_t 처리완료문구[] = L"처리된 디렉터리";

// Fixed names in the call's folder; each begins with a separator because it
// is appended to the folder's path as it stands.
inline constexpr wchar_t 검사출력파일[] = L"\\fe2437.txt";
inline constexpr wchar_t 검사배치파일[] = L"\\fe2437.bat";
inline constexpr wchar_t 부여출력파일[] = L"\\fe1235.txt";
inline constexpr wchar_t 부여응답파일[] = L"\\fe1236.txt";
inline constexpr wchar_t 부여배치파일[] = L"\\fe2456.bat";

// More than any answer of cacls about one folder; a larger output file was
// not written by it, and is not read.
inline constexpr std::size_t 최대출력바이트 = 1024 * 1024;
// How long a call waits for another instance to finish with the files.
inline constexpr unsigned long 독점대기밀리초 = 10000;

// Why a procedure did not run cacls, or has no answer from it. Each text is
// followed, in the message, by the path it concerns.
namespace 거부문구 {
inline constexpr wchar_t 연결지점[] =
    L"설치 폴더가 다른 곳을 가리키는 연결 지점(정션, 심볼릭 링크 또는 탑재 지점)이라 "
    L"보안설정을 확인하거나 바꾸지 않았습니다.";
inline constexpr wchar_t 다른경로[] =
    L"설치 폴더의 실제 경로가 이 경로와 달라(경로 중간에 연결 지점이 있습니다) "
    L"보안설정을 확인하거나 바꾸지 않았습니다.";
inline constexpr wchar_t 폴더사라짐[] =
    L"설치 폴더가 작업하는 사이에 없어져 보안설정을 확인하거나 바꾸지 않았습니다.";
inline constexpr wchar_t 위험한글자[] =
    L"경로에 명령 처리기(cmd)가 다르게 읽을 수 있는 글자(%, !, \", 줄바꿈 같은 제어 문자 또는 "
    L"이 컴퓨터의 코드 페이지로 나타낼 수 없는 글자)가 있어 아무것도 실행하지 않았습니다.";
inline constexpr wchar_t 절대경로아님[] =
    L"경로가 드라이브 문자로 시작하는 전체 경로(C:\\...)가 아니어서 명령 처리기(cmd)가 다른 "
    L"폴더로 읽을 수 있으므로 아무것도 실행하지 않았습니다.";
inline constexpr wchar_t 빈폴더[] =
    L"설치 폴더가 비어 있거나 그 안의 항목을 열 수 없어, 작업하는 사이에 폴더가 다른 곳을 "
    L"가리키는 연결 지점으로 바뀌지 않게 할 수 없으므로 보안설정을 바꾸지 않았습니다.";
inline constexpr wchar_t 폴더바뀜[] =
    L"명령 처리기(cmd)가 작업하는 사이에 설치 폴더가 연결 지점으로 바뀌었거나 다른 곳으로 "
    L"옮겨졌습니다. 보안설정이 어느 폴더에 적용되었는지 알 수 없으니 확인하세요.";
inline constexpr wchar_t 다른창작업중[] =
    L"다른 보안설정 창이 작업하고 있습니다. 그 창의 작업이 끝난 뒤에 다시 하세요.";
inline constexpr wchar_t cacls없음[] =
    L"Windows의 권한 도구(cacls.exe)를 찾을 수 없어 보안설정을 확인하거나 바꿀 수 없습니다.";
inline constexpr wchar_t 시작실패[] =
    L"명령 처리기(cmd.exe)를 시작하지 못해 보안설정을 확인하거나 바꾸지 못했습니다.";
inline constexpr wchar_t 보관실패[] =
    L"설치 폴더의 지금 접근 목록을 보관하지 못해 보안설정을 바꾸지 않았습니다.";
inline constexpr wchar_t 보관폴더이상[] =
    L"접근 목록을 보관하는 폴더가 없거나 연결 지점이어서 그 폴더를 쓰지 않았습니다.";
inline constexpr wchar_t 응답없음[] =
    L"Windows의 권한 도구(cacls)가 이 폴더의 접근 목록을 알려 주지 않아 보안설정을 확인하지 "
    L"못했습니다.";
inline constexpr wchar_t 보관목록이상[] =
    L"보관한 접근 목록이 SDDL 글자만으로 된 한 줄이 아니거나 너무 길어 되돌리지 않았습니다.";
inline constexpr wchar_t 남의보관폴더[] =
    L"접근 목록을 보관하는 폴더를 관리자나 SYSTEM이 아닌 사용자가 가지고 있거나 그 사용자도 쓸 수 "
    L"있어 쓰지 않았습니다. 관리자가 이 폴더를 지우거나 이름을 바꾼 뒤 다시 하세요.";
inline constexpr wchar_t 링크있음[] =
    L"설치 폴더 안에 다른 곳을 가리키는 연결 지점이나 이름이 둘 이상인 파일(하드 링크)이 있어, "
    L"보안설정이 그 대상에까지 적용될 수 있으므로 바꾸지 않았습니다. 이 항목을 옮기거나 지운 뒤 "
    L"다시 하세요.";
inline constexpr wchar_t 링크생김[] =
    L"명령 처리기(cmd)가 작업하는 사이에 설치 폴더 안에 연결 지점이나 하드 링크가 생겼습니다. "
    L"보안설정이 그 대상에도 적용되었을 수 있으니 확인하세요.";
inline constexpr wchar_t 남이바꿀수있음[] =
    L"설치 폴더나 그 안의 폴더 또는 파일을 관리자가 아닌 사용자가 가지고 있거나 바꿀 수 있어, 명령 처리기(cmd)가 "
    L"작업하는 사이에 그 안에 다른 곳을 가리키는 연결 지점이 생길 수 있으므로 보안설정을 바꾸지 "
    L"않았습니다. 관리자가 이 항목의 소유자와 접근 목록을 관리자만 바꿀 수 있게 한 뒤(보관한 목록이 "
    L"있으면 /restore) 다시 하세요.";
inline constexpr wchar_t 사용자프로그램실행중[] =
    L"이 계정이 아닌 다른 사용자 계정의 프로그램이 실행 중입니다. 되돌리는 동안에는 설치 폴더를 누구나 바꿀 "
    L"수 있어 그 프로그램이 명령 처리기(cmd)가 작업하는 사이에 연결 지점을 만들 수 있으므로 되돌리지 "
    L"않았습니다. 사용자가 로그온하기 전에 도는 시작 스크립트에서 /restore를 실행하세요.";
inline constexpr wchar_t 프로그램확인못함[] =
    L"실행 중인 프로그램을 살펴보지 못해(다른 사용자의 프로그램이 없는지 알 수 없어) 되돌리지 않았습니다.";
inline constexpr wchar_t 살필수없음[] =
    L"설치 폴더 안을 모두 살펴보지 못해(연결 지점이나 하드 링크가 없는지 알 수 없어) 보안설정을 "
    L"바꾸지 않았습니다.";
}  // namespace 거부문구

// Why `/restore` did not put a kept list back, or does not vouch for it
// once back. Each is followed, in the answer, by the kept file or the folder
// concerned.
namespace 복원사유 {
inline constexpr wchar_t 목록없음[] =
    L"보관한 접근 목록이 비어 있거나(NO_ACCESS_CONTROL: 누구나 무엇이든 할 수 있음) 없어 "
    L"되돌리지 않았습니다.";
inline constexpr wchar_t 거부항목[] = L"보관한 접근 목록에 거부 항목이 있어 되돌리지 않았습니다.";
inline constexpr wchar_t 특수항목[] =
    L"보관한 접근 목록에 조건부, 콜백 또는 개체 항목이나 읽을 수 없는 항목이 있어 되돌리지 "
    L"않았습니다.";
inline constexpr wchar_t 관리자권한부족[] =
    L"보관한 접근 목록이 Administrators와 SYSTEM에게 모든 권한을 주지 않아 되돌리지 않았습니다.";
inline constexpr wchar_t 남이씀[] =
    L"보관한 접근 목록이 관리자와 SYSTEM 말고도 쓸 수 있게 해 되돌리지 않았습니다.";
inline constexpr wchar_t 남의소유자[] =
    L"접근 목록은 되돌렸지만 폴더의 소유자가 Administrators, SYSTEM, TrustedInstaller가 아니어서 "
    L"소유자가 언제든 다시 바꿀 수 있습니다. 관리자가 소유자를 바꾼 뒤 다시 되돌리세요.";
inline constexpr wchar_t 안의소유자[] =
    L"접근 목록은 되돌렸지만 설치 폴더 안의 이 항목의 소유자가 Administrators, SYSTEM, "
    L"TrustedInstaller가 아니어서 소유자가 이 항목의 접근 목록을 언제든 다시 바꿀 수 있습니다. 관리자가 "
    L"소유자를 바꾼 뒤 다시 되돌리세요.";
inline constexpr wchar_t 남이쓰는항목[] =
    L"접근 목록은 되돌렸지만 설치 폴더나 그 안의 이 항목에 관리자 말고도 쓸 수 있게 하는 항목이 따로 있어"
    L"(되돌린 목록을 물려받지 않습니다) 그 사용자가 이 항목을 계속 바꿀 수 있습니다. 관리자가 이 "
    L"항목의 접근 목록을 확인한 뒤 다시 되돌리세요.";
inline constexpr wchar_t 보호바뀜[] =
    L"보관한 목록의 항목은 되돌렸지만 cacls가 상위 폴더의 권한을 물려받는지(상속)를 보관한 목록과 다르게 "
    L"두었습니다. 관리자가 이 폴더의 고급 보안 설정에서 상속을 보관한 목록대로 맞추세요.";
}  // namespace 복원사유

// What a procedure refused, or could not get done: why, in the words the
// user is to read (a 거부문구), and what it concerns: a path, or the failed
// file step it came from, whose facts the layer that shows the refusal
// words (app/commands.cpp).
class 실행거부 : public std::runtime_error {
public:
    explicit 실행거부(std::wstring 문구, std::wstring 대상 = {})
        : std::runtime_error("permission command refused"), 문구_(std::move(문구)),
          대상_(std::move(대상)) {}
    실행거부(std::wstring 문구, const 파일오류& 원인)
        : 실행거부(std::move(문구), 원인.경로()) {
        원인_ = 원인;
    }
    const std::wstring& 문구() const { return 문구_; }
    // The path concerned (for a kept-lists folder, with its owner), or
    // nothing; where a file step failed, its path.
    const std::wstring& 대상() const { return 대상_; }
    const std::optional<파일오류>& 원인() const { return 원인_; }

private:
    std::wstring 문구_;
    std::wstring 대상_;
    std::optional<파일오류> 원인_;
};

// Throws 실행거부 with `문구` about `경로`.
[[noreturn]] void 거부(const wchar_t* 문구, const std::wstring& 경로);
// Throws 실행거부 with `문구` about the file step that failed.
[[noreturn]] void 거부(const wchar_t* 문구, const 파일오류& 원인);

// Refuses (실행거부, naming it) a path that cmd could read otherwise than
// the tool: one with %, !, a quote, a control character or a character the
// code pages cannot carry exactly, or one that is not a plain absolute path
// of a drive (X:\...).
void 배치에쓸수있는경로인지(const 플랫폼& 시스템, const std::wstring& 경로);

// The whole output file as one string. Throws 파일오류 when it cannot be
// read or is larger than 최대출력바이트: a failure is never an empty answer.
// A missing file is left behind, empty.
std::wstring 파일읽기(플랫폼& 시스템, const std::wstring& 경로);

// The batch lines, exposed so that their exact form can be tested. Paths are
// quoted, so a temporary folder or a target with blanks stays one argument.
std::wstring 검사명령(const std::wstring& 대상경로, const std::wstring& 출력경로);
std::wstring 부여명령(const std::wstring& 대상경로, const std::wstring& 응답경로,
                      const std::wstring& 출력경로);

// The install folder one command works on, checked and held once for the
// whole command: every cacls run on it and every read of its list goes
// through this one hold, and never looks the path up again.
struct 대상폴더 {
    std::wstring 경로;    // as the command named it
    폴더고정결과 고정;    // what was there; held, with its own name, when 고정됨
};

// Refuses (실행거부) a path cmd could read otherwise (배치에쓸수있는경로인지),
// then holds what is there. A missing folder, or a link in its place, is
// only refused when a procedure is run on it.
대상폴더 대상잡기(플랫폼& 시스템, const std::wstring& 대상경로);

// True when the access list cacls prints for the folder is as the fix
// leaves it (see 사용자권한이있음).
플래그 권한검사(플랫폼& 시스템, const 대상폴더& 대상);

enum class 부여결과 {
    처리됨,    // cacls reported the folder as processed (in Korean)
    처리안됨,  // any other answer, or, without administrator rights, no way
               // to keep the list: only a query can tell
    이미됨,    // the list already gave the Users entry as the check reads it
               // (사용자권한이있음); nothing ran
};

// Replaces the folder's access list with the single 사용자전체권한 entry.
// Never queries. Reads the list it replaces through the hold on the folder:
// when that already gives the Users entry as the check reads it (other
// allow entries beside it, explicit or inherited, as a folder fixed by hand
// or a grant that kept inheriting has), nothing runs and nothing is
// refused: the check and the fix agree; at most, where the folder has no
// record yet, the marker that nothing was kept is written (보관없음기록),
// and refused as a list that cannot be kept when it cannot be. Elevated, it refuses
// an install folder in which no entry can be held open, and a tree with a
// link in it (tree_links.h), before and after cmd; where the file system
// keeps lists, also a tree with a folder or file someone besides the
// administrators owns or may write to, before cmd. Then keeps the list it
// replaces (kept_lists.h); a list that cannot be kept stops the grant
// before cacls runs: 실행거부 saying why, or, without administrator rights,
// 처리안됨. One that is no list to go back to is not kept (a first grant
// leaves a marker instead), and the grant goes ahead: it is what was asked
// for.
부여결과 권한부여(플랫폼& 시스템, const 대상폴더& 대상);

// ---- Putting back a kept list (see kept_lists.h) ----

enum class 복원결과 {
    복원됨,      // a query after cacls found the kept list's protection flag
                 // and explicit entries, under a trusted owner
    확인안됨,    // cacls reported the folder processed, but the query found
                 // other explicit entries
    거부됨,      // neither: cacls did not process it, or, without
                 // administrator rights, the kept lists were out of reach
    보관없음,    // no list was kept for the folder's name before its first
                 // grant (none, or the first record is a marker); nothing ran
    믿을수없음,  // the kept list is none to go back to, and nothing ran; or
                 // its entries are back, but with the other protection flag,
                 // or under an owner who may change them again
};

struct 복원답 {
    복원결과 결과;
    // For 믿을수없음: a 복원사유 text and what it concerns; for 복원됨: the
    // kept file that was put back.
    std::wstring 사유;
};

// Puts back the first list kept for the folder's name (첫보관파일), never a
// later one where the first grant kept nothing (보관없음), through
// the grant's batch file and answer, and queries the folder afterwards: the
// query alone decides, whatever cacls printed, by the protection flag and
// explicit entries (되돌린목록비교), so the answer holds whether cacls keeps
// a set list inheriting or protects it. A kept list that is not
// plain SDDL (it goes into a batch line) is refused with 실행거부. Where the
// file system keeps lists, one that is no list to go back to (see
// 되돌릴목록인지) is not put back, and the owner of the folder and of every
// entry in it, read through the query's hold (남이가진항목), must be
// Administrators, SYSTEM or TrustedInstaller. Elevated, links in the tree
// are refused as for the grant, and so is a restore while a process of
// another user's account runs (the platform's 다른사용자프로세스): after a
// grant every user may change the tree, and a program of theirs could make
// a link in it the moment cacls starts. The kept files stay.
복원답 권한복원(플랫폼& 시스템, const 대상폴더& 대상);

// Each of the three on a path held for that call alone (대상잡기).
플래그 권한검사(플랫폼& 시스템, const std::wstring& 대상경로);
부여결과 권한부여(플랫폼& 시스템, const std::wstring& 대상경로);
복원답 권한복원(플랫폼& 시스템, const std::wstring& 대상경로);

}  // namespace 보안방화벽
