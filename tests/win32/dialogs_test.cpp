// The file dialog's settings and the message boxes, shown for real, read
// back and answered from a timer inside their own loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>

#include "app/win32/message_boxes.h"
#include "app/win32/open_dialog.h"
#include "app/win32/win32_basics.h"
#include "tests/test_util.h"

namespace velquior::win32 {
namespace {

namespace fs = std::filesystem;

TEST(XmlOpenDialogTest, SettingsAreThoseOfOpenDialogXml) {
  testing::TempDir tmp;
  XmlOpenDialog dialog(tmp.path());
  const XmlOpenSettings s = dialog.Settings();
  EXPECT_EQ(s.title, L"Archivo XML");
  EXPECT_EQ(s.filter, std::wstring(L"*.xml\0*.xml\0", 12));
  EXPECT_EQ(s.default_extension, L"xml");
  EXPECT_EQ(s.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER));
  EXPECT_EQ(s.flags & (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST), 0u) << "a missing name is the conversion's to report";
  EXPECT_EQ(s.initial_dir, tmp.path().wstring());
  EXPECT_EQ(s.file, L"");

  std::vector<wchar_t> buffer;
  const OPENFILENAMEW ofn = ToOpenFileName(s, buffer, nullptr);
  EXPECT_EQ(ofn.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_EQ(std::wstring(ofn.lpstrFilter, 13), std::wstring(L"*.xml\0*.xml\0\0", 13));
  EXPECT_STREQ(ofn.lpstrDefExt, L"xml");
  EXPECT_STREQ(ofn.lpstrTitle, L"Archivo XML");
  EXPECT_STREQ(ofn.lpstrInitialDir, tmp.path().wstring().c_str());
  EXPECT_EQ(ofn.Flags, s.flags);
  EXPECT_EQ(ofn.nFilterIndex, 1u);
  EXPECT_GE(ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(ofn.lpstrFile[0], L'\0');
}

TEST(XmlOpenDialogTest, OpensInSagaInAnyLetterCase) {
  testing::TempDir tmp;
  fs::create_directory(tmp / "SaGa");
  EXPECT_EQ(XmlOpenDialog(tmp.path()).Settings().initial_dir, (tmp / "SaGa").wstring());
}

TEST(XmlOpenDialogTest, LastConfirmedNameIsOfferedAgain) {
  testing::TempDir tmp;
  const fs::path chosen = tmp / "otra carpeta" / "nuevo.xml";  // need not exist
  std::vector<std::wstring> offered, folders;
  bool answer = true;
  XmlOpenDialog dialog(tmp.path(), [&](OPENFILENAMEW& ofn) {
    offered.push_back(ofn.lpstrFile);
    folders.push_back(ofn.lpstrInitialDir != nullptr ? ofn.lpstrInitialDir : L"");
    if (answer) wcscpy(ofn.lpstrFile, chosen.wstring().c_str());
    return answer;
  });
  EXPECT_EQ(dialog.Execute(nullptr), chosen);
  answer = false;
  EXPECT_EQ(dialog.Execute(nullptr), std::nullopt);  // cancelled
  EXPECT_EQ(dialog.FileName(), chosen);               // and still remembered
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0], L"");
  EXPECT_EQ(folders[0], tmp.path().wstring());
  EXPECT_EQ(offered[1], chosen.wstring());
  EXPECT_EQ(folders[1], chosen.parent_path().wstring());
}

// What the timer found in the box before pressing its button.
struct SeenBox {
  bool found = false;
  std::wstring caption, text, button;
  int buttons = 0;
  bool icon = false;
  RECT rect{};
  RECT button_rect{};  // in the box's client area
  int button_text_width = 0;
  SIZE fifty_by_fourteen_units{};
  int client_width = 0;
};
SeenBox seen;

BOOL CALLBACK ReadChild(HWND child, LPARAM) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(child)) {
    ++seen.buttons;
    seen.button = WindowText(child);
    GetWindowRect(child, &seen.button_rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&seen.button_rect), 2);
    HDC dc = GetDC(child);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, seen.button.c_str(), static_cast<int>(seen.button.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    seen.button_text_width = extent.cx;
  } else if (_wcsicmp(cls, L"Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      seen.icon = seen.icon || (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0);
    } else if (!WindowText(child).empty()) {
      seen.text = WindowText(child);
    }
  }
  return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring_view(cls) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK ReadAndPress(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  seen.found = true;
  seen.caption = WindowText(box);
  GetWindowRect(box, &seen.rect);
  RECT units{0, 0, 50, 14}, client{};
  MapDialogRect(box, &units);
  seen.fifty_by_fourteen_units = {units.right, units.bottom};
  GetClientRect(box, &client);
  seen.client_width = client.right;
  EnumChildWindows(box, ReadChild, 0);
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TEST(MessageBoxTest, BoxesSayAceptarAndVelquiorCentredOnTheScreen) {
  const struct {
    BoxKind kind;
    bool icon;
  } cases[] = {{BoxKind::kPlain, false}, {BoxKind::kError, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.icon ? "error" : "plain");
    seen = SeenBox();
    SetTimer(nullptr, 0, 50, ReadAndPress);
    ShowBox(nullptr, "Proceso finalizado", c.kind);  // returns once pressed
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, L"Velquior");
    EXPECT_EQ(seen.text, L"Proceso finalizado");
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.button, L"Aceptar");
    EXPECT_EQ(seen.icon, c.icon);
    const int cx = (seen.rect.left + seen.rect.right) / 2, cy = (seen.rect.top + seen.rect.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    // Sized for "Aceptar" after the system sized it for its own word: as
    // wide as a dialog's button, room around the text, the row centred.
    const RECT& b = seen.button_rect;
    EXPECT_GE(b.right - b.left, seen.fifty_by_fourteen_units.cx);
    EXPECT_GE(b.right - b.left, seen.button_text_width + 16);
    EXPECT_NEAR(b.left + b.right, seen.client_width, 1)
        << "button " << b.left << ".." << b.right << ", text " << seen.button_text_width << ", 50 units "
        << seen.fifty_by_fourteen_units.cx << ", client " << seen.client_width;
  }
}

TEST(MessageBoxTest, StylesAreOneButtonModal) {
  EXPECT_EQ(BoxStyle(BoxKind::kPlain, true), static_cast<UINT>(MB_OK | MB_APPLMODAL));
  EXPECT_EQ(BoxStyle(BoxKind::kPlain, false), static_cast<UINT>(MB_OK | MB_TASKMODAL));
  EXPECT_EQ(BoxStyle(BoxKind::kError, true), static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_APPLMODAL));
}

// What the timer found in the question, and how it answers it.
struct SeenQuestion {
  bool found = false;
  std::wstring caption;
  std::vector<std::wstring> buttons;  // by IDYES, IDNO, IDCANCEL
  bool fits = true;                   // each text within its button
  bool inside = true;                 // each button within the box, apart from the others
  int default_id = 0;                 // the button drawn as the default
  bool icon = false;
  UINT answer = 0;  // the message that answers: a button's id, or WM_CLOSE
} question;

void CALLBACK ReadAndAnswer(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  question.found = true;
  question.caption = WindowText(box);
  LONG right_of_last = 0;
  for (int id : {IDYES, IDNO, IDCANCEL}) {
    HWND button = GetDlgItem(box, id);
    const std::wstring text = WindowText(button);
    question.buttons.push_back(text);
    HDC dc = GetDC(button);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    RECT r{};
    GetClientRect(button, &r);
    question.fits = question.fits && size.cx < r.right - r.left;
    if ((GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) question.default_id = id;
    RECT in_box{}, client{};
    GetWindowRect(button, &in_box);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&in_box), 2);
    GetClientRect(box, &client);
    question.inside = question.inside && in_box.left >= right_of_last && in_box.right <= client.right;
    right_of_last = in_box.right;
  }
  seen = SeenBox();
  EnumChildWindows(box, ReadChild, 0);
  question.icon = seen.icon;
  if (question.answer == WM_CLOSE) {
    PostMessageW(box, WM_CLOSE, 0, 0);
  } else {
    PostMessageW(GetDlgItem(box, static_cast<int>(question.answer)), BM_CLICK, 0, 0);
  }
}

TEST(QuestionBoxTest, ThreeSpanishButtonsTheFirstTheDefaultAndEachAnswered) {
  const struct {
    UINT press;
    int answer;
  } cases[] = {{IDYES, 0}, {IDNO, 1}, {IDCANCEL, 2}, {WM_CLOSE, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.press);
    question = SeenQuestion();
    question.answer = c.press;
    SetTimer(nullptr, 0, 50, ReadAndAnswer);
    EXPECT_EQ(AskBox(nullptr, "¿Conservar los códigos?", {"Conservar", "Usar nuevos", "Cancelar"}), c.answer);
    ASSERT_TRUE(question.found);
    EXPECT_EQ(question.caption, L"Velquior");
    EXPECT_EQ(question.buttons, (std::vector<std::wstring>{L"Conservar", L"Usar nuevos", L"Cancelar"}));
    EXPECT_TRUE(question.fits);
    EXPECT_TRUE(question.inside);
    EXPECT_EQ(question.default_id, IDYES);
    EXPECT_TRUE(question.icon);
  }
  EXPECT_EQ(QuestionStyle(true), static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1 | MB_APPLMODAL));
}

// The undo's question: "Deshacer" the default, closing it declines.
struct SeenConfirm {
  std::wstring caption, yes, no;
  bool yes_is_default = false;
  UINT answer = 0;  // IDOK or WM_CLOSE
} confirm;

void CALLBACK ReadAndConfirm(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  confirm.caption = WindowText(box);
  confirm.yes = WindowText(GetDlgItem(box, IDOK));
  confirm.no = WindowText(GetDlgItem(box, IDCANCEL));
  confirm.yes_is_default = (GetWindowLongPtrW(GetDlgItem(box, IDOK), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  if (confirm.answer == WM_CLOSE) {
    PostMessageW(box, WM_CLOSE, 0, 0);
  } else {
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  }
}

TEST(QuestionBoxTest, UndoQuestionHasTwoSpanishButtonsAndClosingDeclines) {
  for (const UINT press : {static_cast<UINT>(IDOK), static_cast<UINT>(WM_CLOSE)}) {
    SCOPED_TRACE(press);
    confirm = SeenConfirm();
    confirm.answer = press;
    SetTimer(nullptr, 0, 50, ReadAndConfirm);
    EXPECT_EQ(ConfirmBox(nullptr, "¿Deshacer?", "Deshacer", "Cancelar"), press == IDOK);
    EXPECT_EQ(confirm.caption, L"Velquior");
    EXPECT_EQ(confirm.yes, L"Deshacer");
    EXPECT_EQ(confirm.no, L"Cancelar");
    EXPECT_TRUE(confirm.yes_is_default);
  }
}

}  // namespace
}  // namespace velquior::win32
