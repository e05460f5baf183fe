#include "app/MainForm.h"

#include <vector>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include "app/dialogs.h"
#include "app/glyphs.h"
#include "app/gradient_panel.h"
#include "app/host_window.h"
#include "common/format.h"
#include "common/messages.h"
#include "help/help_request.h"
#include "shell/form_layout.h"

namespace velquior::app {
namespace {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QFont ToQFont(const shell::FontFace& layout) {
  QFont f;
  QStringList families;
  for (std::string_view family : layout.families) families << Q(family);
  f.setFamilies(families);
  f.setPixelSize(layout.pixel_height);
  f.setBold(layout.bold);
  return f;
}

QRect ToQRect(shell::Rect r) { return {r.left, r.top, r.width, r.height}; }

void MarkHelp(QWidget* w, int context) {
  if (context != 0) w->setProperty("helpContext", context);
}

QWidget* AddLabel(QWidget* panel, const shell::ControlLayout& layout) {
  auto* label = new QLabel(Q(layout.text), panel);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(ToQRect(layout.rect));
  label->setWordWrap(layout.word_wrap);
  if (layout.colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(layout.colour->r, layout.colour->g, layout.colour->b));
    label->setPalette(palette);
  }
  // The form paints as button face, which would make labels use ButtonText.
  label->setForegroundRole(QPalette::WindowText);
  return label;
}

QPushButton* AddButton(QWidget* panel, const shell::ControlLayout& layout) {
  auto* button = new QPushButton(GlyphIcon(layout.glyph), Q(layout.text), panel);
  button->setGeometry(ToQRect(layout.rect));
  button->setIconSize(QSize(kGlyphSize, kGlyphSize));
  button->setAutoDefault(true);  // Enter presses the focused button
  // Two buttons read "Aceptar"; each is named after the conversion it starts.
  if (!layout.described_by.empty()) {
    button->setAccessibleName(Q(Format(msg::kNombreBotonConversion, {layout.text, layout.described_by})).trimmed());
  }
  return button;
}

}  // namespace

TMForm::TMForm(FormSetup setup)
    : setup_(std::move(setup)),
      handlers_({setup_.params, setup_.work_dir, setup_.result_file, setup_.history_folder}, *this, notices_),
      OpenDialogXML(setup_.work_dir) {
  BuildControls();
  CentreOnScreen();
  FormCreate();
}

TMForm::~TMForm() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void TMForm::BuildControls() {
  const shell::FormLayout& form = shell::Form();
  setObjectName(Q(form.name));
  setWindowTitle(Q(form.caption));
  // A fixed dialog frame: no resizing, no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(form.client_width, form.client_height);
  setFont(ToQFont(shell::Font(shell::FontRole::kWindow)));
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  MarkHelp(this, form.help_context);

  std::vector<GradientPanel*> panels;
  for (const shell::PanelLayout& layout : shell::Panels()) {
    auto* panel = new GradientPanel(this, layout);
    panel->setObjectName(Q(layout.name));
    panel->setGeometry(ToQRect(layout.rect));
    MarkHelp(panel, layout.help_context);
    panels.push_back(panel);
  }
  for (const shell::ControlLayout& layout : shell::Controls()) {
    QWidget* panel = panels.at(static_cast<std::size_t>(layout.panel));
    QWidget* control = layout.kind == shell::ControlKind::kLabel ? AddLabel(panel, layout) : AddButton(panel, layout);
    control->setObjectName(Q(layout.name));
    control->setFont(ToQFont(shell::Font(layout.font)));
    if (layout.sized_to_text) control->adjustSize();
    MarkHelp(control, layout.help_context);
  }
  BExportar = findChild<QPushButton*>("BExportar");
  BImportar = findChild<QPushButton*>("BImportar");

  QWidget* previous = nullptr;
  for (std::string_view name : shell::TabOrder()) {
    QWidget* next = findChild<QWidget*>(Q(name));
    if (previous != nullptr) setTabOrder(previous, next);
    previous = next;
  }
  findChild<QWidget*>(Q(shell::kInitialFocus))->setFocus();

  connect(BExportar, &QPushButton::clicked, this, [this] { BExportarClick(); });
  connect(BImportar, &QPushButton::clicked, this, [this] { BImportarClick(); });
  connect(findChild<QPushButton*>("BClose"), &QPushButton::clicked, this, [this] { this->close(); });
  connect(findChild<QPushButton*>("Button1"), &QPushButton::clicked, this, [this] { Button1Click(); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, [this] {
    if (setup_.help != nullptr) setup_.help->ShowContext(help::kMainWindowContext);
  });
}

void TMForm::CentreOnScreen() {
  QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect s = screen->geometry();
  // Embedded, the same position counts from the host's client area.
  const QPoint origin = embedded_ ? QPoint(0, 0) : s.topLeft();
  move(origin + QPoint((s.width() - width()) / 2, (s.height() - height()) / 2));
}

void TMForm::FormCreate() { handlers_.FormCreate(); }

void TMForm::FormShow() { handlers_.FormShow(); }

void TMForm::FormClose() { handlers_.FormClose(); }

void TMForm::HostLost() {
  if (closed_) return;
  closed_ = true;
  FormClose();
  if (setup_.on_host_lost) {
    setup_.on_host_lost();
  } else if (setup_.on_closed) {
    setup_.on_closed();
  }
}

void TMForm::BExportarClick() { handlers_.BExportarClick(); }

void TMForm::BImportarClick() { handlers_.BImportarClick(); }

void TMForm::Button1Click() {
  if (setup_.help == nullptr) return;
  setup_.help->SetHelpFile(help::kHelpFile);
  setup_.help->ShowContents();
}

void TMForm::ShowForm() {
  FormShow();
  if (!closed_) show();
}

void TMForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    // A result that cannot be written is reported, and the window closes
    // all the same: the host then finds no new value.
    FormClose();
  }
  event->accept();
  if (setup_.on_closed) setup_.on_closed();
}

std::optional<std::filesystem::path> TMForm::ChooseXmlFile(const std::filesystem::path&) {
  // The dialog's own memory is the last confirmed name, as XmlFileName is.
  if (setup_.dialogs == nullptr) return std::nullopt;
  return OpenDialogXML.Execute(*setup_.dialogs, isVisible() ? this : nullptr);
}

void TMForm::ShowMessage(std::string_view utf8_text) {
  if (setup_.dialogs != nullptr) setup_.dialogs->ShowMessage(Q(utf8_text));
}

shell::Window::Answer TMForm::Ask(std::string_view question, std::string_view first, std::string_view second,
                                  std::string_view cancel) {
  if (setup_.dialogs == nullptr) return Answer::kCancel;
  switch (setup_.dialogs->Ask({Q(question), Q(first), Q(second), Q(cancel)})) {
    case 0:
      return Answer::kFirst;
    case 1:
      return Answer::kSecond;
    default:
      return Answer::kCancel;
  }
}

void TMForm::ShowError(std::string_view utf8_text) {
  if (setup_.dialogs != nullptr) setup_.dialogs->ShowError(Q(utf8_text));
}

void TMForm::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TMForm::DisableConversionButtons() {
  // Said rather than left to Qt's passing it along the chain; also where the
  // focus returns when the window is next activated.
  if (focusWidget() == BExportar || focusWidget() == BImportar) {
    findChild<QWidget*>(Q(shell::kFocusAfterConversion))->setFocus();
  }
  BExportar->setEnabled(false);
  BImportar->setEnabled(false);
}

void TMForm::Close() { close(); }

void TMForm::EmbedInHost(std::uint32_t handle) {
  // A handle that names no window we can adopt leaves the window framed in
  // its own place; the host launch still goes on.
  embedded_ = setup_.embedder != nullptr && setup_.embedder->Embed(*this, handle);
  if (embedded_) setup_.embedder->OnHostLost([this] { HostLost(); });
  CentreOnScreen();
}

}  // namespace velquior::app
