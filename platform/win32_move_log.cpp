// Win32 platform: the move's log, a text file in a folder of the user's own,
// read and replaced through the held folder's handle as the move's files are.
#include "platform/win32_internal.h"

#include "platform/win32_codepage.h"

using namespace win32;

namespace {

constexpr char 바이트순서표[] = "\xEF\xBB\xBF";

}  // namespace

std::optional<std::wstring> Win32플랫폼::안의글읽기(const 보유& 잡음, const std::wstring& 이름,
                                                   std::size_t 최대바이트) {
    const HANDLE 폴더 = 잡은핸들(잡음, L"");
    std::wstring 경로;
    UniqueHandle 파일;
    try {
        파일 = 일반파일열기(폴더, 이름, GENERIC_READ, 경로);
    } catch (const 파일오류& 오류) {
        if (없음오류(오류.코드())) return std::nullopt;
        throw;
    }
    const ULONGLONG 크기 = 파일크기(파일.get(), 경로);
    if (크기 > 최대바이트)
        throw 파일오류(경로, ERROR_FILE_TOO_LARGE, 거절사실{거절::너무큼, {}, 크기, 최대바이트});
    std::string 바이트(static_cast<size_t>(크기), '\0');
    DWORD 읽음 = 0;
    if (크기 > 0 && (!::ReadFile(파일.get(), 바이트.data(), static_cast<DWORD>(크기), &읽음, nullptr) ||
                     읽음 != 크기))
        마지막오류던지기(경로);
    if (바이트.rfind(바이트순서표, 0) == 0) 바이트.erase(0, 3);
    return 코드페이지에서(바이트, CP_UTF8);
}

void Win32플랫폼::안의글바꿔쓰기(const 보유& 잡음, const std::wstring& 이름, const std::wstring& 글) {
    const HANDLE 폴더 = 잡은핸들(잡음, L"");
    const std::wstring 대상 = 안의경로(폴더, 이름);
    if (!한이름(이름)) 오류던지기(대상, ERROR_INVALID_NAME);
    const std::wstring 새이름 = L"~boansetting " + 맞힐수없는이름() + L".tmp";
    const auto 쓸 = 안에서열기(폴더, 새이름,
                               {GENERIC_WRITE | DELETE, 0, FILE_CREATE, FILE_NON_DIRECTORY_FILE},
                               안의경로(폴더, 새이름));
    try {
        모두쓰기(쓸.get(), 바이트순서표 + 코드페이지로(글, CP_UTF8), 대상);
        안에서이름바꾸기(쓸.get(), 폴더, 이름, true, 대상);
    } catch (const 파일오류&) {
        만든것지우기(쓸.get());
        throw;
    }
}
