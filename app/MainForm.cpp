#include "app/MainForm.h"

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

namespace velquior::app {
namespace {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// MS Sans Serif 8 point is 11 pixels at 96 dpi; where it is missing,
// Liberation Sans (Arial's metrics) at the same pixel height stands in.
QFont WindowFont() {
  QFont f;
  f.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"});
  f.setPixelSize(11);
  return f;
}

// Arial 12 point bold (16 pixels); Liberation Sans is its metric twin.
QFont TitleFont() {
  QFont f;
  f.setFamilies({"Arial", "Liberation Sans"});
  f.setPixelSize(16);
  f.setBold(true);
  return f;
}

QString ConversionButtonName(std::string_view label) {
  return Q(Format(msg::kNombreBotonConversion, {msg::kBotonAceptar, label})).trimmed();
}

void MarkHelp(QWidget* w) { w->setProperty("helpContext", help::kMainWindowContext); }

QLabel* AddLabel(QWidget* panel, const char* name, std::string_view text, const QFont& font, QRect geometry) {
  auto* label = new QLabel(Q(text), panel);
  label->setObjectName(QLatin1String(name));
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(geometry);
  return label;
}

QPushButton* AddButton(QWidget* panel, const char* name, std::string_view text, const QIcon& glyph, QRect geometry) {
  auto* button = new QPushButton(glyph, Q(text), panel);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setIconSize(QSize(kGlyphSize, kGlyphSize));
  button->setAutoDefault(true);  // Enter presses the focused button
  MarkHelp(button);
  return button;
}

GradientPanel* AddPanel(QWidget* form, const char* name, QRect geometry, QColor bottom, QColor middle, QColor top) {
  auto* panel = new GradientPanel(form, bottom, middle, top);
  panel->setObjectName(QLatin1String(name));
  panel->setGeometry(geometry);
  MarkHelp(panel);
  return panel;
}

}  // namespace

TMForm::TMForm(FormSetup setup)
    : setup_(std::move(setup)),
      handlers_({setup_.params, setup_.work_dir, setup_.result_file}, *this, notices_),
      OpenDialogXML(setup_.work_dir) {
  BuildControls();
  CentreOnScreen();
  FormCreate();
}

TMForm::~TMForm() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void TMForm::BuildControls() {
  setObjectName("MForm");
  setWindowTitle(Q(msg::kTituloVentana));
  // A fixed dialog frame: no resizing, no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(632, 266);
  setFont(WindowFont());
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  MarkHelp(this);

  const QColor warm_bottom(0xF9, 0xD3, 0x7D), warm_middle(0xFF, 0xFF, 0xFF), warm_top(0xFF, 0xEE, 0xDD);
  auto* left = AddPanel(this, "Draw3D2", {0, -1, 315, 169}, warm_bottom, warm_middle, warm_top);
  auto* right = AddPanel(this, "Draw3D3", {316, 0, 317, 169}, warm_bottom, warm_middle, warm_top);
  auto* bottom = AddPanel(this, "Draw3D1", {0, 168, 633, 97}, QColor(0xC2, 0xCD, 0xFE), QColor(0xCF, 0xF2, 0xFE),
                          QColor(0xCC, 0xD8, 0xE6));

  AddLabel(left, "Label3", msg::kRotuloExportar, TitleFont(), {24, 24, 265, 57})->setWordWrap(true);
  AddLabel(right, "Label4", msg::kRotuloImportar, TitleFont(), {8, 24, 305, 57})->setWordWrap(true);
  QFont version_font = WindowFont();
  version_font.setBold(true);
  QLabel* version = AddLabel(bottom, "Label1", msg::kRotuloVersion, version_font, {8, 72, 213, 13});
  QPalette red = version->palette();
  red.setColor(QPalette::WindowText, QColor(0xFF, 0x00, 0x00));
  version->setPalette(red);
  // The form paints as button face, which would make labels use ButtonText.
  version->setForegroundRole(QPalette::WindowText);
  version->adjustSize();  // sized to its text

  const QIcon check = CheckMarkIcon();
  BExportar = AddButton(left, "BExportar", msg::kBotonAceptar, check, {96, 120, 89, 25});
  BImportar = AddButton(right, "BImportar", msg::kBotonAceptar, check, {96, 120, 89, 25});
  // Two buttons read "Aceptar"; each is named after the conversion it starts.
  BExportar->setAccessibleName(ConversionButtonName(msg::kRotuloExportar));
  BImportar->setAccessibleName(ConversionButtonName(msg::kRotuloImportar));
  QPushButton* close = AddButton(bottom, "BClose", msg::kBotonSalir, OpenDoorIcon(), {256, 32, 89, 25});
  QPushButton* help = AddButton(bottom, "Button1", msg::kBotonAyuda, QIcon(), {265, 67, 75, 18});

  // Bottom panel first, then left, then right.
  setTabOrder(close, help);
  setTabOrder(help, BExportar);
  setTabOrder(BExportar, BImportar);
  close->setFocus();

  connect(BExportar, &QPushButton::clicked, this, [this] { BExportarClick(); });
  connect(BImportar, &QPushButton::clicked, this, [this] { BImportarClick(); });
  connect(close, &QPushButton::clicked, this, [this] { this->close(); });
  connect(help, &QPushButton::clicked, this, [this] { Button1Click(); });
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
