// The words of the VirtualStore move: see virtual_store_report.h.
#include "folders/virtual_store_report.h"

#include "folders/file_error_text.h"

namespace 가상폴더옮기기 {
namespace {

constexpr size_t 보일경로수 = 5;

std::wstring 경로목록(const std::vector<std::wstring>& 경로들) {
    std::wstring 글;
    for (size_t 번 = 0; 번 < 경로들.size() && 번 < 보일경로수; ++번) 글 += 경로들[번] + L"\r\n";
    if (경로들.size() > 보일경로수)
        글 += L"그 밖에 " + std::to_wstring(경로들.size() - 보일경로수) + L"개\r\n";
    return 글;
}

// The move's own reasons for stopping, in words.
const wchar_t* 까닭문구(멈춘까닭 까닭) {
    switch (까닭) {
    case 멈춘까닭::폴더없음: return L"폴더가 없습니다.";
    case 멈춘까닭::링크폴더:
        return L"연결 지점이거나 다른 곳을 가리키는 폴더여서 그 안에는 아무것도 쓰지 않았습니다.";
    case 멈춘까닭::부여안됨:
        return L"이 사용자가 파일을 만들 수 없는 폴더여서(보안설정이 되어 있지 않습니다) 아무것도 "
               L"옮기지 않았습니다. 먼저 보안설정을 하세요(2. 보안설정 또는 /fix).";
    case 멈춘까닭::기록권한없음: return L"이 사용자의 권한으로는 여기에 옮긴 기록을 남길 수 없습니다.";
    case 멈춘까닭::백업권한없음: break;
    }
    return L"이 사용자의 권한으로는 여기에 백업 폴더를 만들 수 없습니다.";
}

// The copy's versions of kept files are not lost: they stay where the copy is.
std::wstring 새것남김글(const 옮긴결과& 일) {
    return L"\r\n설치 폴더의 다음 " + std::to_wstring(일.새것남김.size()) +
           L"개는 가상 폴더의 것보다 나중에 바뀌어 그대로 두었습니다.\r\n" +
           경로목록(일.새것남김) +
           (일.새이름.empty() ? L"가상 폴더 쪽 파일은 가상 폴더에 그대로 있습니다.\r\n"
                               : L"가상 폴더 쪽 파일은 이름을 바꾼 가상 폴더에 그대로 있습니다.\r\n");
}

// Another user saved these in the install folder while this user's copy
// was still served: both versions are someone's work.
std::wstring 갈등글(const 옮긴결과& 일) {
    return L"\r\n설치 폴더의 다음 " + std::to_wstring(일.갈등.size()) +
           L"개는 이 사용자의 가상 폴더 쪽과 설치 폴더 쪽이 둘 다 바뀌어(다른 사용자가 저장했을 수 "
           L"있습니다) 설치 폴더의 것을 그대로 두었습니다.\r\n" +
           경로목록(일.갈등) +
           (일.새이름.empty() ? L"이 사용자의 판은 가상 폴더에 그대로 있습니다.\r\n"
                               : L"이 사용자의 판은 이름을 바꾼 가상 폴더에 그대로 있습니다.\r\n");
}

// The first of `경로들`, and how many more: one line's worth.
std::wstring 첫경로(const std::vector<std::wstring>& 경로들) {
    return 경로들.front() +
           (경로들.size() > 1 ? L" 외 " + std::to_wstring(경로들.size() - 1) + L"개" : L"");
}

}  // namespace

std::wstring 물음(const 옮길곳& 곳, size_t 수) {
    return L"옮기기 전에 " + 곳.목록이름 + L" 프로그램을 모두 닫으세요.\r\n\r\n" + 곳.목록이름 +
           L"의 가상 폴더에 파일이 " + std::to_wstring(수) + L"개 있습니다.\r\n" + 곳.가상폴더 +
           L"\r\n\r\n이 파일들을 설치 폴더로 옮길까요? 바뀌는 파일은 먼저 백업해 둡니다.\r\n" +
           곳.설치폴더;
}

std::wstring 보통으로하라는글(const 옮길곳& 곳, size_t 수) {
    return L"가상 폴더에 파일이 " + std::to_wstring(수) + L"개 있습니다.\r\n" + 곳.가상폴더 +
           L"\r\n\r\n이 창은 사용자 계정 컨트롤 없이 관리자로 또는 다른 관리자 계정으로 "
           L"실행되어, 로그온한 사용자가 바꿀 수 있는 파일만 골라 옮길 수 없으므로 옮기지 "
           L"않았습니다.\r\n보안설정을 관리자 권한 없이 보통으로 시작해서 1. 보안체크를 누르면 옮길 수 있습니다.";
}

std::wstring 결과메시지(const 옮긴결과& 일) {
    const std::wstring 옮긴수 = std::to_wstring(일.옮김);
    std::wstring 글;
    if (일.멈춘곳) {
        글 = L"가상 폴더의 파일을 다 옮기지 못했습니다.\r\n\r\n" + 멈춘곳글(*일.멈춘곳) +
             L"\r\n\r\n지금까지 파일 " + 옮긴수 +
             L"개를 옮겼고, 가상 폴더의 이름은 바꾸지 않았습니다.\r\n";
    } else {
        글 = L"파일 " + 옮긴수 + L"개를 설치 폴더로 옮겼습니다.\r\n";
    }
    if (!일.새것남김.empty()) 글 += 새것남김글(일);
    if (!일.갈등.empty()) 글 += 갈등글(일);
    if (!일.백업루트.empty())
        글 += L"\r\n바뀐 파일의 원래 내용은 이 사용자의 폴더에 백업해 두었습니다(다른 사용자는 "
              L"열 수 없습니다).\r\n" + 일.백업루트 + L"\r\n";
    else if (!일.멈춘곳)
        글 += L"\r\n바뀐 파일이 없어 백업은 만들지 않았습니다.\r\n";
    if (!일.링크들.empty())
        글 += L"\r\n연결 지점(정션, 심볼릭 링크, 탑재 지점)과 하드 링크는 따라가지 않으므로 다음 " +
              std::to_wstring(일.링크들.size()) + L"개는 옮기지 않았습니다.\r\n" +
              경로목록(일.링크들);
    if (!일.권한없음.empty())
        글 += L"\r\n이 사용자의 권한으로는 만들거나 바꾸거나 읽을 수 없어 다음 " +
              std::to_wstring(일.권한없음.size()) +
              L"개는 옮기지 않았습니다(관리자만 바꿀 수 있는 곳입니다).\r\n" + 경로목록(일.권한없음);
    if ((!일.링크들.empty() || !일.권한없음.empty()) && !일.멈춘곳)
        글 += L"그래서 가상 폴더의 이름은 바꾸지 않았습니다.\r\n";
    if (!일.새이름.empty())
        글 += L"\r\n가상 폴더는 지우지 않고 이름만 바꾸어 두었습니다.\r\n" + 일.새이름 + L"\r\n";
    if (일.멈춘곳)
        글 += L"\r\n이 폴더의 프로그램을 모두 닫은 뒤 다시 하면, 멈춘 곳부터 안전하게 이어서 "
              L"옮깁니다.\r\n";
    글.erase(글.size() - 2);  // the last line end
    return 글;
}

std::wstring 멈춘곳글(const 멈춤& 멈춘곳) {
    const auto* 오류 = std::get_if<파일오류>(&멈춘곳.까닭);
    return 멈춘곳.경로 + L"\r\n" +
           (오류 ? 오류문구(*오류) : std::wstring(까닭문구(std::get<멈춘까닭>(멈춘곳.까닭))));
}

std::wstring 못옮긴까닭(const 옮긴결과& 일) {
    if (!일.새이름.empty()) return {};
    if (일.멈춘곳) return 멈춘곳글(*일.멈춘곳);
    if (!일.링크들.empty()) return L"연결 지점과 하드 링크는 따라가지 않으므로 옮기지 않았습니다: " + 첫경로(일.링크들);
    if (!일.권한없음.empty())
        return L"이 사용자의 권한으로는 만들거나 바꾸거나 읽을 수 없어 옮기지 않았습니다: " +
               첫경로(일.권한없음);
    return L"옮기는 사이에 설치 폴더에서 바뀐 파일이 있어 가상 폴더의 이름을 바꾸지 않았습니다. "
           L"다시 하면 이어서 옮깁니다: " + 첫경로(일.새것남김);
}

}  // namespace 가상폴더옮기기
