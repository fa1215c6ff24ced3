// The main window's controls as the form's design lays them out: positions in pixels
// of the client area below the menu bar, texts, fonts, hints and tab order.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "config/MainView.h"
#include "ui/Colours.h"
#include "ui/Main.h"
#include "ui/MaskedField.h"
#include "ui/MenuBarStyle.h"

namespace kolvaro {

namespace {

constexpr int ClientWidth = 229;
constexpr int ClientHeight = 306;

// "MS Sans Serif", height 11 pixels (8 points at 96 dpi); the first family present wins.
// The layout's widths were drawn for those metrics: where the Windows fonts are missing,
// Liberation Sans (Debian's fonts-liberation2, a dependency) has the same widths as
// Arial and fits every text. Wider faces such as DejaVu Sans, the last resort, cut
// "Lokalny adr.fiz.:" and the group buttons' captions.
QFont windowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

QFont fieldFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("Nimbus Mono PS"),
                    QStringLiteral("DejaVu Sans Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(11);
  font.setBold(true);
  return font;
}

void makeBold(QWidget* widget) {
  QFont font = widget->font();
  font.setBold(true);
  widget->setFont(font);
}

template <typename W>
W* place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

QFrame* panel(QWidget* parent, const char* name, int left, int top, int width, int height, bool lowered) {
  auto* frame = place(new QFrame(parent), name, left, top, width, height);
  frame->setFrameStyle(QFrame::Panel | (lowered ? QFrame::Sunken : QFrame::Raised));
  frame->setLineWidth(1);
  return frame;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height) {
  auto* l = place(new QLabel(text, parent), name, left, top, width, height);
  makeBold(l);
  return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height) {
  return place(new QPushButton(text, parent), name, left, top, width, height);
}

QComboBox* dropDownList(QWidget* parent, const char* name, const QStringList& items, int left, int top, int width,
                        int height) {
  auto* box = place(new QComboBox(parent), name, left, top, width, height);
  box->setEditable(false);
  box->addItems(items);
  box->setCurrentIndex(-1);  // nothing selected until start-up chooses the first item
  return box;
}

MaskedField* addressField(QWidget* parent, MaskedField::Kind kind, const char* name, const char* text, int left,
                          int top, int width, int height) {
  auto* f = place(new MaskedField(kind, parent), name, left, top, width, height);
  f->setFont(fieldFont());
  f->setFieldText(QString::fromLatin1(text));
  setFontColour(*f, colourFromBgr(colour::Teal));
  return f;
}

}  // namespace

void TMain::buildForm() {
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(QStringLiteral("Kolvaro"));
  // A single fixed border with the system menu and the minimise button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(windowFont());

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(ClientWidth, ClientHeight);
  setCentralWidget(client);

  const auto physical = MaskedField::Kind::Physical;
  const auto group = MaskedField::Kind::Group;
  const QString tableHint = tr("Pole nie wypełnione oznacza brak przypisania grupy");
  const QStringList programs = {tr("Brak opóź."), tr("Opóź. zał."), tr("Opóź. wył.")};

  // Created from the back to the front: later siblings are drawn over earlier ones.
  Bevel1 = place(new QFrame(client), "Bevel1", 1, 1, 227, 3);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

  Label7 = label(client, "Label7", tr("Lokalny adr.fiz.:"), 21, 11, 92, 13);
  setFontColour(*Label7, colourFromBgr(colour::Gray));
  Local_phAddr_MaskEdit = addressField(client, physical, "Local_phAddr_MaskEdit", "15.15.254", 115, 7, 69, 17);
  Local_phAddr_MaskEdit->setToolTip(tr("Adres fizyczny nadawcy telegramów wysyłanych przez aplikację Kolvaro"));

  Panel8 = panel(client, "Panel8", 1, 28, 227, 210, false);
  Panel7 = panel(client, "Panel7", 4, 32, 221, 27, true);
  Read = button(client, "Read", tr("Odczyt"), 8, 35, 106, 20);
  makeBold(Read);
  Read->setToolTip(
      tr("Odczyt adresu fizycznego, adresów grupowych i rodzaju wybranego programu "
         "terminala znajdującego się w trybie programowania"));
  Write = button(client, "Write", tr("Zapis"), 116, 35, 105, 20);
  makeBold(Write);
  Write->setToolTip(
      tr("Zapis adresu fizycznego, adresów grupowych i rodzaju wybranego programu "
         "terminala znajdującego się w trybie programowania"));

  Panel6 = panel(client, "Panel6", 4, 61, 221, 173, true);
  Label2 = label(Panel6, "Label2", tr("Adr.fiz.:"), 4, 7, 45, 13);
  MONO_BI_ComboBox = dropDownList(Panel6, "MONO_BI_ComboBox", {tr("Monostabilne"), tr("Bistabilne")}, 2, 88, 107, 21);
  MONO_BI_ComboBox->setToolTip(tr("Interpretacja sygnałów wej."));

  phAddr_MaskEdit = addressField(client, physical, "phAddr_MaskEdit", "15.15.255", 56, 64, 69, 17);
  phAddr_MaskEdit->setToolTip(tr("Adres fizyczny zdalnego terminala (odczytany, bądź przeznaczony do zapisu)"));

  Panel5 = panel(client, "Panel5", 6, 90, 106, 56, true);
  Panel5->setToolTip(tr("Przypisanie obiektu komunikacyjnego WE1 do grup"));
  Label6 = label(Panel5, "Label6", QStringLiteral(" WE1"), 4, 15, 32, 13);
  IN_1_1_GrAddr_MaskEdit = addressField(Panel5, group, "IN_1_1_GrAddr_MaskEdit", "00\\0\\001", 39, 4, 62, 17);
  IN_1_2_GrAddr_MaskEdit = addressField(Panel5, group, "IN_1_2_GrAddr_MaskEdit", "00\\0\\002", 39, 23, 62, 17);

  Panel4 = panel(client, "Panel4", 6, 174, 106, 55, true);
  Panel4->setToolTip(tr("Przypisanie obiektu komunikacyjnego WE2 do grup"));
  Label5 = label(Panel4, "Label5", QStringLiteral(" WE2"), 4, 15, 32, 13);
  IN_2_1_GrAddr_MaskEdit = addressField(Panel4, group, "IN_2_1_GrAddr_MaskEdit", "00\\0\\002", 39, 4, 62, 17);
  IN_2_2_GrAddr_MaskEdit = addressField(Panel4, group, "IN_2_2_GrAddr_MaskEdit", "  \\ \\   ", 39, 23, 62, 17);

  Panel1 = panel(client, "Panel1", 116, 90, 106, 68, false);
  Panel1->setToolTip(tr("Przypisanie obiektu komunikacyjnego WY1 do grup"));
  Label1 = label(Panel1, "Label1", QStringLiteral(" WY1"), 4, 15, 32, 13);
  OUT_1_1_GrAddr_MaskEdit = addressField(Panel1, group, "OUT_1_1_GrAddr_MaskEdit", "00\\0\\002", 40, 4, 62, 17);
  OUT_1_2_GrAddr_MaskEdit = addressField(Panel1, group, "OUT_1_2_GrAddr_MaskEdit", "  \\ \\   ", 39, 23, 63, 17);
  OUT1_Prog_ComboBox = dropDownList(Panel1, "OUT1_Prog_ComboBox", programs, 3, 42, 100, 21);
  OUT1_Prog_ComboBox->setToolTip(tr("Wybór programu obsługiwanego przez obiekt WY1 elementu magistralnego"));

  Panel3 = panel(client, "Panel3", 116, 162, 106, 68, false);
  Panel3->setToolTip(tr("Przypisanie obiektu komunikacyjnego WY2 do grup"));
  Label4 = label(Panel3, "Label4", QStringLiteral(" WY2"), 4, 15, 32, 13);
  OUT_2_1_GrAddr_MaskEdit = addressField(Panel3, group, "OUT_2_1_GrAddr_MaskEdit", "00\\0\\001", 39, 4, 62, 17);
  OUT_2_2_GrAddr_MaskEdit = addressField(Panel3, group, "OUT_2_2_GrAddr_MaskEdit", "  \\ \\   ", 39, 23, 62, 17);
  OUT2_Prog_ComboBox = dropDownList(Panel3, "OUT2_Prog_ComboBox", programs, 3, 42, 100, 21);
  OUT2_Prog_ComboBox->setToolTip(tr("Wybór programu obsługiwanego przez obiekt WY2 elementu magistralnego"));

  for (auto* f : {IN_1_1_GrAddr_MaskEdit, IN_1_2_GrAddr_MaskEdit, IN_2_1_GrAddr_MaskEdit, IN_2_2_GrAddr_MaskEdit,
                  OUT_1_1_GrAddr_MaskEdit, OUT_1_2_GrAddr_MaskEdit, OUT_2_1_GrAddr_MaskEdit, OUT_2_2_GrAddr_MaskEdit}) {
    f->setToolTip(tableHint);
  }

  GrAddrConfProgress = place(new QProgressBar(client), "GrAddrConfProgress", 1, 244, 227, 22);
  GrAddrConfProgress->setRange(0, ProgressMaximum);
  GrAddrConfProgress->setValue(0);
  GrAddrConfProgress->setTextVisible(false);

  Panel2 = panel(client, "Panel2", 1, 273, 227, 32, false);
  OffGroup = button(Panel2, "OffGroup", tr("Wyłącz grupę"), 5, 6, 73, 20);
  OnOffGroup_MaskEdit = addressField(Panel2, group, "OnOffGroup_MaskEdit", "  \\ \\   ", 82, 7, 62, 17);
  OnOffGroup_MaskEdit->setToolTip(tr("Adres grupy do załącznia, bądź wyłączenia"));
  OnGroup = button(Panel2, "OnGroup", tr("Załącz grupę"), 149, 6, 73, 20);

  Tels_memo = place(new QPlainTextEdit(client), "Tels_memo", 156, 2, 20, 302);
  Tels_memo->setReadOnly(true);
  Tels_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Tels_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Tels_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Tels_memo->setVisible(false);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);

  MainMenu = menuBar();
  MainMenu->setObjectName(QStringLiteral("MainMenu"));
  auto* menuBarStyle = new MenuBarStyle;  // the application's style with tighter titles
  menuBarStyle->setParent(MainMenu);
  MainMenu->setStyle(menuBarStyle);
  Configure = MainMenu->addMenu(tr("Konfiguracja"));
  Configure->setObjectName(QStringLiteral("Configure"));
  Serial_port = Configure->addMenu(tr("Port szeregowy"));
  Serial_port->setObjectName(QStringLiteral("Serial_port"));
  COM1 = Serial_port->addAction(QStringLiteral("COM1"));
  COM2 = Serial_port->addAction(QStringLiteral("COM2"));
  COM3 = Serial_port->addAction(QStringLiteral("COM3"));
  COM4 = Serial_port->addAction(QStringLiteral("COM4"));
  COM1->setObjectName(QStringLiteral("COM1"));
  COM2->setObjectName(QStringLiteral("COM2"));
  COM3->setObjectName(QStringLiteral("COM3"));
  COM4->setObjectName(QStringLiteral("COM4"));
  Help = MainMenu->addMenu(tr("Pomoc"));
  Help->setObjectName(QStringLiteral("Help"));
  About = Help->addAction(tr("O..."));
  About->setObjectName(QStringLiteral("About"));

  // Tab order: the window's own controls by their order, each panel's controls in turn.
  QWidget* const order[] = {Read,
                            Write,
                            OffGroup,
                            OnGroup,
                            OnOffGroup_MaskEdit,
                            Local_phAddr_MaskEdit,
                            phAddr_MaskEdit,
                            MONO_BI_ComboBox,
                            IN_1_1_GrAddr_MaskEdit,
                            IN_1_2_GrAddr_MaskEdit,
                            IN_2_1_GrAddr_MaskEdit,
                            IN_2_2_GrAddr_MaskEdit,
                            OUT_1_1_GrAddr_MaskEdit,
                            OUT_1_2_GrAddr_MaskEdit,
                            OUT1_Prog_ComboBox,
                            OUT_2_1_GrAddr_MaskEdit,
                            OUT_2_2_GrAddr_MaskEdit,
                            OUT2_Prog_ComboBox,
                            Tels_memo};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }

  fields_ = {Local_phAddr_MaskEdit,   phAddr_MaskEdit,         IN_1_1_GrAddr_MaskEdit,  IN_1_2_GrAddr_MaskEdit,
             IN_2_1_GrAddr_MaskEdit,  IN_2_2_GrAddr_MaskEdit,  OUT_1_1_GrAddr_MaskEdit, OUT_1_2_GrAddr_MaskEdit,
             OUT_2_1_GrAddr_MaskEdit, OUT_2_2_GrAddr_MaskEdit, OnOffGroup_MaskEdit};

  // Fixed size: the client area plus whatever height the menu bar needs.
  const int menuHeight = MainMenu->heightForWidth(ClientWidth);
  setFixedSize(ClientWidth, ClientHeight + (menuHeight > 0 ? menuHeight : MainMenu->sizeHint().height()));
}

}  // namespace kolvaro
