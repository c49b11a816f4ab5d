// The smallest Win32 program that opens a maximised window and paints it: the yardstick the
// driver's measure mode holds the drill's start-up time against.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"QuarnMinimal";
constexpr wchar_t kCaption[] = L"Quarn Minimal";
// The same framed box as the drill's answer box, centred in the client area.
constexpr int kBoxWidth = 72;
constexpr int kBoxHeight = 136;

class PaintScope {
 public:
  explicit PaintScope(HWND window) : window(window) { dc = BeginPaint(window, &paint); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window, &paint); }
  HDC Dc() const { return dc; }

 private:
  HWND window;
  PAINTSTRUCT paint{};
  HDC dc;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(window);
      RECT client;
      GetClientRect(window, &client);
      FillRect(paint.Dc(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      const int left = (client.right - kBoxWidth) / 2;
      const int top = (client.bottom - kBoxHeight) / 2;
      // The DC's default pen and brush: a black frame around a white interior.
      Rectangle(paint.Dc(), left, top, left + kBoxWidth, top + kBoxHeight);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 688, 454, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWMAXIMIZED);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
