// The window driver: see window_driver.h.
#include "tests/wine/window_driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <fstream>
#include <memory>

#include "app/resources/resource_ids.h"
#include "tests/wine/wine_support.h"

namespace 시험 {

namespace {

// A message to another process's window must not hang the test when that
// process is busy or stuck.
constexpr UINT 응답제한ms = 2000;

LRESULT 보내기(HWND 창, UINT 메시지, WPARAM 인자1 = 0, LPARAM 인자2 = 0) {
    DWORD_PTR 결과 = 0;
    if (!SendMessageTimeoutW(창, 메시지, 인자1, 인자2, SMTO_ABORTIFHUNG, 응답제한ms, &결과))
        return -1;
    return static_cast<LRESULT>(결과);
}

std::wstring 클래스(HWND 창) {
    wchar_t 이름[64] = {};
    GetClassNameW(창, 이름, 64);
    return 이름;
}

HWND 목록편집칸(HWND 목록) { return FindWindowExW(목록, nullptr, L"Edit", nullptr); }

// The 32-bit pixels of a `너비` x `높이` bitmap once `그리기` has drawn it.
template <typename 그림>
std::vector<DWORD> 그려서(int 너비, int 높이, 그림 그리기) {
    const win32::DcScope 화면(nullptr);
    const win32::UniqueDc 판(CreateCompatibleDC(화면.get()));
    const win32::UniqueGdiObject 그림판(CreateCompatibleBitmap(화면.get(), 너비, 높이));
    std::vector<DWORD> 결과(static_cast<size_t>(너비) * 높이);
    BITMAPINFO 정보{};
    정보.bmiHeader = {sizeof(BITMAPINFOHEADER), 너비, -높이, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    {
        const win32::SelectionScope 선택(판.get(), 그림판.get());
        if (!선택.selected()) return {};
        그리기(판.get(), 화면.get());
    }
    if (GetDIBits(판.get(), static_cast<HBITMAP>(그림판.get()), 0, 높이, 결과.data(), &정보,
                  DIB_RGB_COLORS) != 높이)
        return {};
    return 결과;
}

}  // namespace

std::wstring 클립보드글() {
    const win32::ClipboardScope 클립보드(nullptr);
    const HANDLE 데이터 = 클립보드 ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    if (!데이터) return {};
    const win32::GlobalLockScope 잠금(데이터);
    return 잠금.get() ? static_cast<const wchar_t*>(잠금.get()) : L"";
}

UINT 상자아이콘(const 메시지상자& 상자, DWORD 제한ms) {
    // Wine's box names its icon control 1088, Windows' 20.
    HWND 칸 = GetDlgItem(상자.창, 1088);
    if (!칸) 칸 = GetDlgItem(상자.창, 20);
    const int 너비 = GetSystemMetrics(SM_CXICON), 높이 = GetSystemMetrics(SM_CYICON);
    const struct { LPCWSTR 아이콘; UINT 종류; } 후보들[] = {
        {IDI_INFORMATION, MB_ICONINFORMATION}, {IDI_WARNING, MB_ICONWARNING}, {IDI_ERROR, MB_ICONERROR}};
    UINT 보임 = 0;
    될때까지(제한ms, [&] {
        RECT 자리{};
        if (!칸 || !IsWindowVisible(칸) || !GetWindowRect(칸, &자리)) return false;
        const auto 보인것 = 그려서(너비, 높이, [&](HDC 판, HDC 화면) {
            BitBlt(판, 0, 0, 너비, 높이, 화면, 자리.left, 자리.top, SRCCOPY);
        });
        if (보인것.empty()) return false;
        // Each of the system's icons as the box would draw it on its own
        // background, which the icons' transparent corner shows.
        const COLORREF 바탕 = RGB(보인것[0] >> 16 & 0xFF, 보인것[0] >> 8 & 0xFF, 보인것[0] & 0xFF);
        for (const auto& 후보 : 후보들) {
            const auto 그린것 = 그려서(너비, 높이, [&](HDC 판, HDC) {
                const win32::UniqueGdiObject 붓(CreateSolidBrush(바탕));
                const RECT 전체{0, 0, 너비, 높이};
                FillRect(판, &전체, static_cast<HBRUSH>(붓.get()));
                DrawIconEx(판, 0, 0, LoadIconW(nullptr, 후보.아이콘), 너비, 높이, 0, nullptr, DI_NORMAL);
            });
            if (보인것 == 그린것) 보임 = 후보.종류;
        }
        return 보임 != 0;
    });
    return 보임;
}

std::wstring 창글(HWND 창) {
    const LRESULT 길이 = 보내기(창, WM_GETTEXTLENGTH);
    if (길이 <= 0) return {};
    std::wstring 글(static_cast<size_t>(길이) + 1, L'\0');
    const LRESULT 읽음 = 보내기(창, WM_GETTEXT, 글.size(), reinterpret_cast<LPARAM>(글.data()));
    글.resize(읽음 > 0 ? static_cast<size_t>(읽음) : 0);
    return 글;
}

HWND 보이는창(DWORD 번호, const wchar_t* 클래스이름) {
    struct 찾기 {
        DWORD 번호;
        const wchar_t* 클래스이름;
        HWND 결과;
    } 상태{번호, 클래스이름, nullptr};
    EnumWindows(
        [](HWND 창, LPARAM 인자) -> BOOL {
            auto& 찾는것 = *reinterpret_cast<찾기*>(인자);
            DWORD 주인 = 0;
            GetWindowThreadProcessId(창, &주인);
            if (주인 != 찾는것.번호 || !IsWindowVisible(창) || 클래스(창) != 찾는것.클래스이름)
                return TRUE;
            찾는것.결과 = 창;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&상태));
    return 상태.결과;
}

RECT 부모기준사각형(HWND 자식) {
    RECT 사각형{};
    GetWindowRect(자식, &사각형);
    MapWindowPoints(HWND_DESKTOP, GetParent(자식), reinterpret_cast<POINT*>(&사각형), 2);
    return 사각형;
}

std::vector<DWORD> 실행중인(const wchar_t* 파일이름, DWORD 부모) {
    std::vector<DWORD> 번호들;
    const win32::UniqueHandle 목록 =
        win32::OwnHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!목록) return 번호들;
    PROCESSENTRY32W 항목{};
    항목.dwSize = sizeof 항목;
    for (BOOL 있음 = Process32FirstW(목록.get(), &항목); 있음; 있음 = Process32NextW(목록.get(), &항목))
        if (_wcsicmp(항목.szExeFile, 파일이름) == 0 && (!부모 || 항목.th32ParentProcessID == 부모))
            번호들.push_back(항목.th32ProcessID);
    return 번호들;
}

std::wstring 창프로그램::기본경로() { return 프로그램폴더() + L"\\..\\..\\app\\boansetting.exe"; }

창프로그램::창프로그램(const std::wstring& 실행파일, DWORD 제한ms) {
    std::wstring 명령줄 = L"\"" + 실행파일 + L"\"";
    const std::wstring 폴더 = 실행파일.substr(0, 실행파일.rfind(L'\\'));
    STARTUPINFOW 시작정보{};
    시작정보.cb = sizeof 시작정보;
    PROCESS_INFORMATION 정보{};
    작업_.reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION 제한{};
    제한.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    // Started as from Explorer, without this test's console, which Wine
    // would otherwise hand on to the program's own cmd runs.
    if (!작업_ ||
        !SetInformationJobObject(작업_.get(), JobObjectExtendedLimitInformation, &제한,
                                 sizeof 제한) ||
        !CreateProcessW(실행파일.c_str(), 명령줄.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS | CREATE_SUSPENDED, nullptr, 폴더.c_str(), &시작정보,
                        &정보)) {
        오류_ = L"cannot start " + 실행파일 + L", error " + std::to_wstring(GetLastError());
        return;
    }
    프로세스_.process.reset(정보.hProcess);
    프로세스_.thread.reset(정보.hThread);
    번호_ = 정보.dwProcessId;
    if (!AssignProcessToJobObject(작업_.get(), 정보.hProcess)) {
        오류_ = L"cannot put the program in a job, error " + std::to_wstring(GetLastError());
        TerminateProcess(정보.hProcess, 1);
        return;
    }
    ResumeThread(정보.hThread);
    const bool 나타남 = 될때까지(제한ms, [&] {
        창_ = 보이는창(번호_, L"TorvaneM");
        return 창_ != nullptr || WaitForSingleObject(프로세스_.process.get(), 0) == WAIT_OBJECT_0;
    });
    if (창_) return;
    DWORD 종료코드 = 0;
    GetExitCodeProcess(프로세스_.process.get(), &종료코드);
    오류_ = 나타남 ? L"the program ended at once with code " + std::to_wstring(종료코드)
                   : L"no visible TorvaneM window within " + std::to_wstring(제한ms) + L" ms";
}

창프로그램::~창프로그램() { 닫기(); }

void 창프로그램::누르기(int 아이디) const { PostMessageW(컨트롤(아이디), BM_CLICK, 0, 0); }

// Unlike the status bar's messages, the combo box's are carried across
// processes by the system, so a buffer of this process will do.
std::vector<std::wstring> 창프로그램::목록항목() const {
    const HWND 목록 = 컨트롤(IDC_PRODUCT_LIST);
    std::vector<std::wstring> 항목들;
    const LRESULT 개수 = 보내기(목록, CB_GETCOUNT);
    for (LRESULT 번 = 0; 번 < 개수; ++번) {
        const LRESULT 길이 = 보내기(목록, CB_GETLBTEXTLEN, static_cast<WPARAM>(번));
        if (길이 < 0) break;
        std::wstring 글(static_cast<size_t>(길이) + 1, L'\0');
        보내기(목록, CB_GETLBTEXT, static_cast<WPARAM>(번), reinterpret_cast<LPARAM>(글.data()));
        글.resize(static_cast<size_t>(길이));
        항목들.push_back(글);
    }
    return 항목들;
}

bool 창프로그램::항목고르기(const std::wstring& 항목) const {
    const HWND 목록 = 컨트롤(IDC_PRODUCT_LIST);
    const HWND 편집 = 목록편집칸(목록);
    const std::vector<std::wstring> 항목들 = 목록항목();
    LRESULT 목표 = -1;
    for (size_t 번 = 0; 번 < 항목들.size(); ++번)
        if (항목들[번] == 항목) 목표 = static_cast<LRESULT>(번);
    if (!편집 || 목표 < 0) return false;
    for (size_t 번 = 0;; ++번) {
        const LRESULT 선택 = 보내기(목록, CB_GETCURSEL);
        if (선택 == 목표 && 창글(편집) == 항목) return true;
        if (번 > 항목들.size()) return false;
        const WPARAM 키 = 선택 < 목표 ? VK_DOWN : VK_UP;
        // Scan code and extended-key bit, as a keyboard sends the arrow keys.
        const LPARAM 스캔 = 1 | ((키 == VK_DOWN ? 0x50 : 0x48) << 16) | (1 << 24);
        PostMessageW(편집, WM_KEYDOWN, 키, 스캔);
        PostMessageW(편집, WM_KEYUP, 키, 스캔 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
        // The list selects first and fills the field after telling the
        // window, so a filled field means the window has heard of it.
        const bool 움직임 = 될때까지(3000, [&] {
            const LRESULT 새선택 = 보내기(목록, CB_GETCURSEL);
            return 새선택 != 선택 && 새선택 >= 0 &&
                   static_cast<size_t>(새선택) < 항목들.size() &&
                   창글(편집) == 항목들[static_cast<size_t>(새선택)];
        });
        if (!움직임) return false;
    }
}

// Without a window manager, Wine hands the foreground to its desktop when
// the X input focus moves away, now and then at random. A user would bring
// the program to the front again; so does this, but only when no window of
// the program is in front, so that where the program itself moves the
// focus, between its window and its message boxes, nothing is helped.
bool 창프로그램::앞에오기(HWND 창, DWORD 제한ms) const {
    return 될때까지(제한ms, [&] {
        const HWND 앞 = GetForegroundWindow();
        if (앞 == 창) return true;
        DWORD 주인 = 0;
        GetWindowThreadProcessId(앞, &주인);
        if (주인 != 번호_) SetForegroundWindow(창);
        return false;
    });
}

bool 창프로그램::키누르기(WORD 키, bool 시프트) const {
    if (!앞에오기(GetLastActivePopup(창_))) return false;
    const auto 입력 = [](WORD 가상키, bool 뗌) {
        INPUT 하나{};
        하나.type = INPUT_KEYBOARD;
        하나.ki.wVk = 가상키;
        하나.ki.wScan = static_cast<WORD>(MapVirtualKeyW(가상키, MAPVK_VK_TO_VSC));
        const bool 확장 = 가상키 == VK_UP || 가상키 == VK_DOWN || 가상키 == VK_LEFT ||
                          가상키 == VK_RIGHT || 가상키 == VK_HOME || 가상키 == VK_END;
        하나.ki.dwFlags = (확장 ? KEYEVENTF_EXTENDEDKEY : 0) | (뗌 ? KEYEVENTF_KEYUP : 0);
        return 하나;
    };
    std::vector<INPUT> 입력들;
    if (시프트) 입력들.push_back(입력(VK_SHIFT, false));
    입력들.push_back(입력(키, false));
    입력들.push_back(입력(키, true));
    if (시프트) 입력들.push_back(입력(VK_SHIFT, true));
    return SendInput(static_cast<UINT>(입력들.size()), 입력들.data(), sizeof(INPUT)) ==
           입력들.size();
}

HWND 창프로그램::초점() const {
    GUITHREADINFO 정보{};
    정보.cbSize = sizeof 정보;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(창_, nullptr), &정보)) return nullptr;
    return 정보.hwndFocus;
}

bool 창프로그램::입력하기(const std::wstring& 글) const {
    const HWND 편집 = 목록편집칸(컨트롤(IDC_PRODUCT_LIST));
    if (!편집) return false;
    PostMessageW(편집, EM_SETSEL, 0, -1);  // typing then replaces the whole field
    for (wchar_t 글자 : 글) PostMessageW(편집, WM_CHAR, 글자, 1);
    return 될때까지(3000, [&] { return 창글(편집) == 글; });
}

bool 창프로그램::붙여넣기(const std::wstring& 글) const {
    const HWND 편집 = 목록편집칸(컨트롤(IDC_PRODUCT_LIST));
    if (!편집) return false;
    보내기(편집, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(글.c_str()));
    const std::wstring 보임 = 창글(편집);
    return (글.empty() || !보임.empty()) && 글.compare(0, 보임.size(), 보임) == 0;
}

std::optional<메시지상자> 창프로그램::메시지상자기다리기(DWORD 제한ms) const {
    HWND 상자 = nullptr;
    if (!될때까지(제한ms, [&] { return (상자 = 보이는창(번호_, L"#32770")) != nullptr; }))
        return std::nullopt;
    return 메시지상자{상자, 창글(상자), 창글(GetDlgItem(상자, 0xFFFF))};
}

bool 창프로그램::메시지상자닫기(const 메시지상자& 상자, DWORD 제한ms) const {
    PostMessageW(상자.창, WM_COMMAND, IDOK, 0);
    return 될때까지(제한ms, [&] { return !IsWindow(상자.창) || !IsWindowVisible(상자.창); });
}

bool 창프로그램::메시지상자답하기(const 메시지상자& 상자, int 단추, DWORD 제한ms) const {
    PostMessageW(상자.창, WM_COMMAND, static_cast<WPARAM>(단추), 0);
    return 될때까지(제한ms, [&] { return !IsWindow(상자.창) || !IsWindowVisible(상자.창); });
}

LRESULT 창프로그램::원격요청(HWND 창, UINT 메시지, WPARAM 인자, std::vector<char>& 버퍼) const {
    const HANDLE 프로세스 = 프로세스_.process.get();
    struct 원격해제 {
        HANDLE 프로세스;
        void operator()(void* 주소) const { VirtualFreeEx(프로세스, 주소, 0, MEM_RELEASE); }
    };
    const std::unique_ptr<void, 원격해제> 원격(
        VirtualAllocEx(프로세스, nullptr, 버퍼.size(), MEM_COMMIT, PAGE_READWRITE), 원격해제{프로세스});
    if (!원격 || !WriteProcessMemory(프로세스, 원격.get(), 버퍼.data(), 버퍼.size(), nullptr))
        return -1;
    const LRESULT 결과 = 보내기(창, 메시지, 인자, reinterpret_cast<LPARAM>(원격.get()));
    if (!ReadProcessMemory(프로세스, 원격.get(), 버퍼.data(), 버퍼.size(), nullptr)) return -1;
    return 결과;
}

std::vector<int> 창프로그램::상태표시줄칸() const {
    std::vector<char> 버퍼(16 * sizeof(int));
    const LRESULT 개수 = 원격요청(컨트롤(IDC_STATUSBAR), SB_GETPARTS, 16, 버퍼);
    if (개수 <= 0 || 개수 > 16) return {};
    const int* 처음 = reinterpret_cast<const int*>(버퍼.data());
    return {처음, 처음 + 개수};
}

std::wstring 창프로그램::상태표시줄글(int 칸) const {
    const HWND 상태 = 컨트롤(IDC_STATUSBAR);
    const LRESULT 길이 = 보내기(상태, SB_GETTEXTLENGTHW, static_cast<WPARAM>(칸));
    if (길이 < 0) return {};
    std::vector<char> 버퍼((LOWORD(길이) + 1) * sizeof(wchar_t));
    if (원격요청(상태, SB_GETTEXTW, static_cast<WPARAM>(칸), 버퍼) < 0) return {};
    return reinterpret_cast<const wchar_t*>(버퍼.data());
}

bool 창프로그램::화면저장(const std::wstring& 경로) const {
    RECT 영역{};
    if (!GetWindowRect(창_, &영역)) return false;
    const int 너비 = 영역.right - 영역.left, 높이 = 영역.bottom - 영역.top;
    const win32::DcScope 화면(nullptr);
    if (!화면) return false;
    const win32::UniqueDc 복사본(CreateCompatibleDC(화면.get()));
    const win32::UniqueGdiObject 그림(CreateCompatibleBitmap(화면.get(), 너비, 높이));
    if (!복사본 || !그림) return false;
    {
        // GetDIBits below needs the bitmap out of the DC again.
        const win32::SelectionScope 선택(복사본.get(), 그림.get());
        if (!선택.selected() ||
            !BitBlt(복사본.get(), 0, 0, 너비, 높이, 화면.get(), 영역.left, 영역.top, SRCCOPY))
            return false;
    }

    BITMAPINFOHEADER 머리{};
    머리.biSize = sizeof 머리;
    머리.biWidth = 너비;
    머리.biHeight = 높이;  // bottom-up, as BMP files are usually stored
    머리.biPlanes = 1;
    머리.biBitCount = 24;
    머리.biCompression = BI_RGB;
    const DWORD 줄크기 = (static_cast<DWORD>(너비) * 3 + 3) & ~3u;
    머리.biSizeImage = 줄크기 * static_cast<DWORD>(높이);
    std::string 화소(머리.biSizeImage, '\0');
    if (GetDIBits(복사본.get(), static_cast<HBITMAP>(그림.get()), 0, static_cast<UINT>(높이),
                  화소.data(), reinterpret_cast<BITMAPINFO*>(&머리), DIB_RGB_COLORS) != 높이)
        return false;
    BITMAPFILEHEADER 파일머리{};
    파일머리.bfType = 0x4D42;  // "BM"
    파일머리.bfOffBits = sizeof 파일머리 + sizeof 머리;
    파일머리.bfSize = 파일머리.bfOffBits + 머리.biSizeImage;
    std::ofstream 파일(경로.c_str(), std::ios::binary | std::ios::trunc);
    파일.write(reinterpret_cast<const char*>(&파일머리), sizeof 파일머리);
    파일.write(reinterpret_cast<const char*>(&머리), sizeof 머리);
    파일.write(화소.data(), static_cast<std::streamsize>(화소.size()));
    return 파일.good();
}

bool 창프로그램::닫기(DWORD 제한ms) {
    const HANDLE 프로세스 = 프로세스_.process.get();
    if (!프로세스) return true;
    // A box left open by a failed test would keep the window from closing.
    while (const auto 상자 = 메시지상자기다리기(0))
        if (!메시지상자닫기(*상자)) break;
    if (창_) PostMessageW(창_, WM_CLOSE, 0, 0);
    const bool 끝남 = WaitForSingleObject(프로세스, 제한ms) == WAIT_OBJECT_0;
    if (!끝남) {
        TerminateProcess(프로세스, 1);
        WaitForSingleObject(프로세스, 제한ms);
    }
    TerminateJobObject(작업_.get(), 1);
    작업_.reset();
    프로세스_ = {};
    창_ = nullptr;
    return 끝남;
}

}  // namespace 시험
