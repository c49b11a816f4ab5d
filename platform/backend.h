// What the portable windowing layer asks of a backend. win32/ implements it on USER and
// GDI; headless/ keeps everything in memory. Exactly one of them is linked.
#pragma once

#include <string_view>

#include "platform/controls.h"

namespace platform::backend {

int ScreenPixelsPerInch();
// Extent of one line of CP932 text in the font: advance width and cell height.
Size MeasureText(const Font& font, std::string_view text);
// The system border width and height (1 pixel each at the usual settings).
Size BorderSize();

// Native peers. Parents are created before their children, in description order.
void CreateNative(Control& control);
void DestroyNative(Control& control);
void UpdateBounds(Control& control);
void UpdateCaption(Control& control);
void UpdateFont(Control& control);
void UpdateEnabled(Control& control);
void UpdateVisible(Control& control);
void UpdateFocus(Form& form, Control* control);

// The image's off-screen bitmap and the drawing on it. Drawing marks the image for repaint.
void CreateCanvas(Image& image, Size size);
void CanvasRectangle(Image& image, int x1, int y1, int x2, int y2);
void CanvasTextOut(Image& image, const Font& font, int x, int y, std::string_view text);

void SetApplicationTitle(std::string_view title);
// Shows the main form in the state its description asks for; only its final size reaches
// Form::NoteClientSize.
void ShowMainForm(Form& form);
// Dispatches events until Application::Terminated() turns true.
void RunLoop(Application& app);
void ProcessMessages(Application& app);
void PostQuit();
// Ends the process at once with the exit code.
void ExitProcess(int code);
// Shows the form, disables the other windows and runs a nested loop until the form's modal
// result is set or the application terminates; then hides the form.
void RunModal(Application& app, Form& form);
void MessageBox(std::string_view text, std::string_view caption, MessageKind kind);

}  // namespace platform::backend
