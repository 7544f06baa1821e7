// Win32 platform: what the user sees and is asked: shell opens (elevated,
// through the user's own desktop shell), message boxes, the clipboard, the
// progress in the status bar, and the clock.
#include "platform/win32_internal.h"

#include <commctrl.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>
#include <servprov.h>

#include <cstring>

using namespace win32;

Win32플랫폼::Win32플랫폼(std::wstring 메시지제목) : 메시지제목_(std::move(메시지제목)) {}

void Win32플랫폼::셸열기(const std::wstring& 대상) {
    ::ShellExecuteW(소유창_, L"open", 대상.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {

struct 콤해제 {
    void operator()(IUnknown* 대상) const { 대상->Release(); }
};
template <typename 인터페이스>
using 콤 = std::unique_ptr<인터페이스, 콤해제>;

// What `부르기` hands back through its out pointer; empty when it fails.
template <typename 인터페이스, typename 호출>
콤<인터페이스> 받기(호출 부르기) {
    인터페이스* 결과 = nullptr;
    if (FAILED(부르기(&결과))) return nullptr;
    return 콤<인터페이스>(결과);
}

template <typename 인터페이스>
콤<인터페이스> 으로(IUnknown* 원본) {
    if (!원본) return nullptr;
    return 받기<인터페이스>([원본](인터페이스** 결과) { return 원본->QueryInterface(IID_PPV_ARGS(결과)); });
}

#ifdef BOANSETTING_DESKTOP_SHELL_UNCHECKED
// A test-only build: Wine's desktop has no shell window, and Wine calls every
// token elevated, so its tests of the opens and of the elevated move need one
// that takes the shell for the user's own, unelevated.
bool 바탕화면셸이상승되지않음() { return true; }
bool 바탕화면셸이같은사용자() { return true; }
#else
// The token of the desktop shell's process, which runs as the user logged
// on at this desktop; empty where there is no shell window or its process
// cannot be asked.
UniqueHandle 바탕화면셸토큰() {
    const HWND 셸창 = ::GetShellWindow();
    DWORD 번호 = 0;
    if (!셸창 || !::GetWindowThreadProcessId(셸창, &번호) || !번호) return {};
    const UniqueHandle 프로세스(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 번호));
    HANDLE 토큰 = nullptr;
    if (!프로세스 || !::OpenProcessToken(프로세스.get(), TOKEN_QUERY, &토큰)) return {};
    return UniqueHandle(토큰);
}

// True when the desktop has a shell window and its process runs without
// administrator rights. Where the user has ended their shell, asking COM for
// the shell's windows would start a new one as this elevated process.
bool 바탕화면셸이상승되지않음() {
    const UniqueHandle 토큰 = 바탕화면셸토큰();
    TOKEN_ELEVATION 상승{};
    DWORD 크기 = 0;
    return 토큰 &&
           ::GetTokenInformation(토큰.get(), TokenElevation, &상승, sizeof 상승, &크기) &&
           상승.TokenIsElevated == 0;
}

// The user a token belongs to (a TOKEN_USER); empty when it cannot be read.
std::vector<char> 토큰사용자(HANDLE 토큰) {
    DWORD 크기 = 0;
    ::GetTokenInformation(토큰, TokenUser, nullptr, 0, &크기);
    std::vector<char> 버퍼(크기);
    if (크기 == 0 || !::GetTokenInformation(토큰, TokenUser, 버퍼.data(), 크기, &크기)) return {};
    return 버퍼;
}

// True when the desktop has a shell window whose process runs as the
// account this process runs as.
bool 바탕화면셸이같은사용자() {
    const UniqueHandle 셸 = 바탕화면셸토큰();
    HANDLE 토큰 = nullptr;
    if (!셸 || !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &토큰)) return false;
    const UniqueHandle 자신(토큰);
    const auto 셸사용자 = 토큰사용자(셸.get()), 이사용자 = 토큰사용자(토큰);
    return !셸사용자.empty() && !이사용자.empty() &&
           ::EqualSid(reinterpret_cast<const TOKEN_USER*>(셸사용자.data())->User.Sid,
                      reinterpret_cast<const TOKEN_USER*>(이사용자.data())->User.Sid);
}
#endif

// The shell object of the desktop Explorer the user is logged on with,
// reached through the desktop's own folder view; empty where there is none.
콤<IShellDispatch2> 바탕화면셸() {
    if (!바탕화면셸이상승되지않음()) return nullptr;
    const auto 창들 = 받기<IShellWindows>([](IShellWindows** 결과) {
        return ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_PPV_ARGS(결과));
    });
    if (!창들) return nullptr;
    VARIANT 바탕화면{}, 빈{};
    ::VariantInit(&빈);
    ::VariantInit(&바탕화면);
    바탕화면.vt = VT_I4;
    바탕화면.lVal = CSIDL_DESKTOP;
    long 창 = 0;
    const auto 바탕 = 받기<IDispatch>([&](IDispatch** 결과) {
        return 창들->FindWindowSW(&바탕화면, &빈, SWC_DESKTOP, &창, SWFO_NEEDDISPATCH, 결과);
    });
    const auto 제공 = 으로<IServiceProvider>(바탕.get());
    if (!제공) return nullptr;
    const auto 탐색 = 받기<IShellBrowser>([&](IShellBrowser** 결과) {
        return 제공->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(결과));
    });
    if (!탐색) return nullptr;
    const auto 보기 = 받기<IShellView>([&](IShellView** 결과) { return 탐색->QueryActiveShellView(결과); });
    if (!보기) return nullptr;
    const auto 배경 = 받기<IDispatch>([&](IDispatch** 결과) {
        return 보기->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(결과));
    });
    const auto 폴더보기 = 으로<IShellFolderViewDual>(배경.get());
    if (!폴더보기) return nullptr;
    const auto 앱 = 받기<IDispatch>([&](IDispatch** 결과) { return 폴더보기->get_Application(결과); });
    return 으로<IShellDispatch2>(앱.get());
}

// Balances a successful CoInitializeEx.
struct COM사용 {
    bool 시작함;
    ~COM사용() {
        if (시작함) ::CoUninitialize();
    }
};

struct BSTR해제 {
    void operator()(OLECHAR* 글) const { ::SysFreeString(글); }
};

}  // namespace

bool Win32플랫폼::사용자로열기(const std::wstring& 대상) {
    const HRESULT 초기화 = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(초기화) && 초기화 != RPC_E_CHANGED_MODE) return false;
    const COM사용 사용{SUCCEEDED(초기화)};
    const auto 셸 = 바탕화면셸();
    const std::unique_ptr<OLECHAR, BSTR해제> 파일(::SysAllocString(대상.c_str()));
    if (!셸 || !파일) return false;
    VARIANT 빈{}, 보이기{};
    ::VariantInit(&빈);
    ::VariantInit(&보이기);
    보이기.vt = VT_I4;
    보이기.lVal = SW_SHOWNORMAL;
    // The explorer that runs it is the user's, so what it starts is too.
    return SUCCEEDED(셸->ShellExecute(파일.get(), 빈, 빈, 빈, 보이기));
}

bool Win32플랫폼::바탕화면사용자계정() { return 바탕화면셸이같은사용자(); }

namespace {

UINT 아이콘(상자종류 종류) {
    switch (종류) {
    case 상자종류::경고: return MB_ICONWARNING;
    case 상자종류::오류: return MB_ICONERROR;
    case 상자종류::알림: break;
    }
    return MB_ICONINFORMATION;
}

}  // namespace

void Win32플랫폼::메시지상자(const std::wstring& 텍스트, 상자종류 종류) {
    ::MessageBoxW(소유창_, 텍스트.c_str(), 메시지제목_.c_str(), MB_OK | 아이콘(종류));
}

bool Win32플랫폼::클립보드에(const std::wstring& 글) {
    const SIZE_T 크기 = (글.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory 메모리(::GlobalAlloc(GMEM_MOVEABLE, 크기));
    if (!메모리) return false;
    {
        const GlobalLockScope 잠금(메모리.get());
        if (!잠금.get()) return false;
        std::memcpy(잠금.get(), 글.c_str(), 크기);
    }
    const ClipboardScope 클립보드(소유창_);
    if (!클립보드 || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, 메모리.get()))
        return false;
    메모리.release();  // the system's now
    return true;
}

bool Win32플랫폼::예아니오(const std::wstring& 텍스트) {
    return ::MessageBoxW(소유창_, 텍스트.c_str(), 메시지제목_.c_str(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void Win32플랫폼::진행표시(const std::wstring& 글) {
    if (진행표시줄_)
        ::SendMessageW(진행표시줄_, SB_SETTEXTW, static_cast<WPARAM>(진행칸_),
                       reinterpret_cast<LPARAM>(글.c_str()));
    쌓인메시지처리();
}
