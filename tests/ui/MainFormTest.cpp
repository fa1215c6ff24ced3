// The main window as laid out: every control's class, parent, bounds, text, font and
// hint, the tab order, the menu and the About window.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "UiTestSupport.h"
#include "ui/About.h"
#include "ui/Colours.h"
#include "ui/MaskedField.h"

namespace kolvaro {
namespace {

const char* const TableHint = "Pole nie wypełnione oznacza brak przypisania grupy";

struct Control {
  const char* name;
  const char* qtClass;
  const char* parent;  // "ClientArea": the window's client area below the menu bar
  QRect bounds;
  const char* text;  // nullptr: not checked (panels, combo boxes, the bar)
  bool bold;
  const char* hint;
};

const Control controls[] = {
    {"Bevel1", "QFrame", "ClientArea", {1, 1, 227, 3}, nullptr, false, ""},
    {"Label7", "QLabel", "ClientArea", {21, 11, 92, 13}, "Lokalny adr.fiz.:", true, ""},
    {"Local_phAddr_MaskEdit",
     "kolvaro::MaskedField",
     "ClientArea",
     {115, 7, 69, 17},
     "15.15.254",
     true,
     "Adres fizyczny nadawcy telegramów wysyłanych przez aplikację Kolvaro"},
    {"Panel8", "QFrame", "ClientArea", {1, 28, 227, 210}, nullptr, false, ""},
    {"Panel7", "QFrame", "ClientArea", {4, 32, 221, 27}, nullptr, false, ""},
    {"Read",
     "QPushButton",
     "ClientArea",
     {8, 35, 106, 20},
     "Odczyt",
     true,
     "Odczyt adresu fizycznego, adresów grupowych i rodzaju wybranego programu terminala znajdującego się w "
     "trybie programowania"},
    {"Write",
     "QPushButton",
     "ClientArea",
     {116, 35, 105, 20},
     "Zapis",
     true,
     "Zapis adresu fizycznego, adresów grupowych i rodzaju wybranego programu terminala znajdującego się w "
     "trybie programowania"},
    {"Panel6", "QFrame", "ClientArea", {4, 61, 221, 173}, nullptr, false, ""},
    {"Label2", "QLabel", "Panel6", {4, 7, 45, 13}, "Adr.fiz.:", true, ""},
    {"MONO_BI_ComboBox", "QComboBox", "Panel6", {2, 88, 107, 21}, nullptr, false, "Interpretacja sygnałów wej."},
    {"phAddr_MaskEdit",
     "kolvaro::MaskedField",
     "ClientArea",
     {56, 64, 69, 17},
     "15.15.255",
     true,
     "Adres fizyczny zdalnego terminala (odczytany, bądź przeznaczony do zapisu)"},
    {"Panel5",
     "QFrame",
     "ClientArea",
     {6, 90, 106, 56},
     nullptr,
     false,
     "Przypisanie obiektu komunikacyjnego WE1 do grup"},
    {"Label6", "QLabel", "Panel5", {4, 15, 32, 13}, " WE1", true, ""},
    {"IN_1_1_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel5", {39, 4, 62, 17}, "00\\0\\001", true, TableHint},
    {"IN_1_2_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel5", {39, 23, 62, 17}, "00\\0\\002", true, TableHint},
    {"Panel4",
     "QFrame",
     "ClientArea",
     {6, 174, 106, 55},
     nullptr,
     false,
     "Przypisanie obiektu komunikacyjnego WE2 do grup"},
    {"Label5", "QLabel", "Panel4", {4, 15, 32, 13}, " WE2", true, ""},
    {"IN_2_1_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel4", {39, 4, 62, 17}, "00\\0\\002", true, TableHint},
    {"IN_2_2_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel4", {39, 23, 62, 17}, "  \\ \\   ", true, TableHint},
    {"Panel1",
     "QFrame",
     "ClientArea",
     {116, 90, 106, 68},
     nullptr,
     false,
     "Przypisanie obiektu komunikacyjnego WY1 do grup"},
    {"Label1", "QLabel", "Panel1", {4, 15, 32, 13}, " WY1", true, ""},
    {"OUT_1_1_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel1", {40, 4, 62, 17}, "00\\0\\002", true, TableHint},
    {"OUT_1_2_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel1", {39, 23, 63, 17}, "  \\ \\   ", true, TableHint},
    {"OUT1_Prog_ComboBox",
     "QComboBox",
     "Panel1",
     {3, 42, 100, 21},
     nullptr,
     false,
     "Wybór programu obsługiwanego przez obiekt WY1 elementu magistralnego"},
    {"Panel3",
     "QFrame",
     "ClientArea",
     {116, 162, 106, 68},
     nullptr,
     false,
     "Przypisanie obiektu komunikacyjnego WY2 do grup"},
    {"Label4", "QLabel", "Panel3", {4, 15, 32, 13}, " WY2", true, ""},
    {"OUT_2_1_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel3", {39, 4, 62, 17}, "00\\0\\001", true, TableHint},
    {"OUT_2_2_GrAddr_MaskEdit", "kolvaro::MaskedField", "Panel3", {39, 23, 62, 17}, "  \\ \\   ", true, TableHint},
    {"OUT2_Prog_ComboBox",
     "QComboBox",
     "Panel3",
     {3, 42, 100, 21},
     nullptr,
     false,
     "Wybór programu obsługiwanego przez obiekt WY2 elementu magistralnego"},
    {"GrAddrConfProgress", "QProgressBar", "ClientArea", {1, 244, 227, 22}, nullptr, false, ""},
    {"Panel2", "QFrame", "ClientArea", {1, 273, 227, 32}, nullptr, false, ""},
    {"OffGroup", "QPushButton", "Panel2", {5, 6, 73, 20}, "Wyłącz grupę", false, ""},
    {"OnOffGroup_MaskEdit",
     "kolvaro::MaskedField",
     "Panel2",
     {82, 7, 62, 17},
     "  \\ \\   ",
     true,
     "Adres grupy do załącznia, bądź wyłączenia"},
    {"OnGroup", "QPushButton", "Panel2", {149, 6, 73, 20}, "Załącz grupę", false, ""},
    {"Tels_memo", "QPlainTextEdit", "ClientArea", {156, 2, 20, 302}, nullptr, false, ""},
};

QString textOf(QWidget* widget) {
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  return {};
}

class MainForm : public ::testing::Test {
 protected:
  test::WindowRig rig;  // not started: the form as constructed
  TMain& window = *rig.window;
};

TEST_F(MainForm, EveryControlAsLaidOut) {
  for (const auto& c : controls) {
    SCOPED_TRACE(c.name);
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->inherits(c.qtClass));
    ASSERT_NE(widget->parentWidget(), nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), c.parent);
    EXPECT_EQ(widget->geometry(), c.bounds);
    if (c.text) {
      EXPECT_EQ(textOf(widget).toStdString(), c.text);
    }
    EXPECT_EQ(widget->font().bold(), c.bold);
    EXPECT_EQ(widget->toolTip().toStdString(), c.hint);
  }
}

TEST_F(MainForm, WindowFontsAndColours) {
  auto* client = window.centralWidget();
  EXPECT_EQ(client->objectName(), QStringLiteral("ClientArea"));
  EXPECT_EQ(client->size(), QSize(229, 306));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());  // fixed size
  EXPECT_EQ(window.width(), 229);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Kolvaro"));
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

  EXPECT_EQ(window.font().families().value(0), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(window.font().pixelSize(), 11);
  EXPECT_EQ(window.Read->font().families().value(0), QStringLiteral("MS Sans Serif"));
  for (int i = 0; i < FieldCount; ++i) {
    const QFont font = window.field(static_cast<Field>(i))->font();
    EXPECT_EQ(font.families().value(0), QStringLiteral("Courier New"));
    EXPECT_EQ(font.styleHint(), QFont::TypeWriter);  // a monospace face where Courier New is missing
    EXPECT_EQ(fontColour(*window.field(static_cast<Field>(i))), colour::Teal);  // the design colour
  }
  EXPECT_EQ(bgrFromColour(window.Label7->palette().color(QPalette::WindowText)), colour::Gray);
}

TEST_F(MainForm, ComboBoxesBarMemoAndTimer) {
  const QStringList programs = {QStringLiteral("Brak opóź."), QStringLiteral("Opóź. zał."),
                                QStringLiteral("Opóź. wył.")};
  for (QComboBox* box : {window.OUT1_Prog_ComboBox, window.OUT2_Prog_ComboBox}) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    EXPECT_EQ(items, programs);
    EXPECT_FALSE(box->isEditable());
  }
  ASSERT_EQ(window.MONO_BI_ComboBox->count(), 2);
  EXPECT_EQ(window.MONO_BI_ComboBox->itemText(0), QStringLiteral("Monostabilne"));
  EXPECT_EQ(window.MONO_BI_ComboBox->itemText(1), QStringLiteral("Bistabilne"));

  EXPECT_EQ(window.GrAddrConfProgress->minimum(), 0);
  EXPECT_EQ(window.GrAddrConfProgress->maximum(), 96);
  EXPECT_EQ(window.progressPosition(), 0);
  window.setProgressPosition(120);
  EXPECT_EQ(window.progressPosition(), 96);  // stops at the end instead of being ignored

  window.show();
  EXPECT_FALSE(window.Tels_memo->isVisible());
  window.appendLog("80BC81FF");
  window.appendLog("01");
  EXPECT_EQ(window.Tels_memo->toPlainText(), QStringLiteral("80BC81FF\n01"));

  auto* timer = window.findChild<QTimer*>(QStringLiteral("Timer1"));
  ASSERT_EQ(timer, window.Timer1);
  EXPECT_TRUE(timer->isActive());
  const auto before = window.waitCounter();
  ASSERT_TRUE(test::waitUntil([&] { return window.waitCounter() >= before + 2; }));  // ticks raise WaitCounter
}

TEST_F(MainForm, TabOrder) {
  const char* const expected[] = {"Read",
                                  "Write",
                                  "OffGroup",
                                  "OnGroup",
                                  "OnOffGroup_MaskEdit",
                                  "Local_phAddr_MaskEdit",
                                  "phAddr_MaskEdit",
                                  "MONO_BI_ComboBox",
                                  "IN_1_1_GrAddr_MaskEdit",
                                  "IN_1_2_GrAddr_MaskEdit",
                                  "IN_2_1_GrAddr_MaskEdit",
                                  "IN_2_2_GrAddr_MaskEdit",
                                  "OUT_1_1_GrAddr_MaskEdit",
                                  "OUT_1_2_GrAddr_MaskEdit",
                                  "OUT1_Prog_ComboBox",
                                  "OUT_2_1_GrAddr_MaskEdit",
                                  "OUT_2_2_GrAddr_MaskEdit",
                                  "OUT2_Prog_ComboBox"};
  window.show();
  std::vector<std::string> chain;
  QWidget* w = window.Read;
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    chain.push_back(w->objectName().toStdString());
    do {
      w = w->nextInFocusChain();
    } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || w == window.Tels_memo);
  }
  EXPECT_EQ(chain, std::vector<std::string>(std::begin(expected), std::end(expected)));
}

TEST_F(MainForm, MenuWithoutCheckMarks) {
  auto* bar = window.findChild<QMenuBar*>(QStringLiteral("MainMenu"));
  ASSERT_EQ(bar, window.menuBar());
  QStringList top;
  for (QAction* a : bar->actions()) top << a->text();
  // The window's own two menus, Konfiguracja and Pomoc, with the file menu in front of
  // them and the bus menu between them.
  EXPECT_EQ(top, (QStringList{QStringLiteral("Plik"), QStringLiteral("Konfiguracja"), QStringLiteral("Magistrala"),
                              QStringLiteral("Pomoc")}));
  EXPECT_EQ(window.Serial_port->menuAction()->text(), QStringLiteral("Port szeregowy"));
  // Beside the design's port menu, the entry for a KNXnet/IP interface.
  EXPECT_EQ(window.Configure->actions(), (QList<QAction*>{window.Serial_port->menuAction(), window.TunnelItem}));
  EXPECT_EQ(window.TunnelItem->text(), QStringLiteral("Interfejs KNXnet/IP..."));
  EXPECT_FALSE(window.TunnelItem->isCheckable());
  QStringList bus;
  for (QAction* a : window.BusMenu->actions()) bus << a->text();
  EXPECT_EQ(bus, (QStringList{QStringLiteral("Dziennik telegramów"), QStringLiteral("Test interfejsu"),
                              QStringLiteral("Urządzenia w trybie programowania")}));
  // Every menu shows in the window's one-line bar, none behind its extension button.
  bar->resize(window.width(), bar->height());
  for (QAction* a : bar->actions()) {
    const QRect place = bar->actionGeometry(a);
    EXPECT_TRUE(place.isValid() && place.right() < window.width() && place.top() == 0)
        << a->text().toStdString() << " at " << place.x() << "," << place.y() << " " << place.width()
        << " wide, window " << window.width();
  }
  QStringList ports;
  for (QAction* a : window.Serial_port->actions()) {
    ports << a->text();
    EXPECT_FALSE(a->isCheckable());
  }
  EXPECT_EQ(ports, (QStringList{"COM1", "COM2", "COM3", "COM4"}));
  ASSERT_EQ(window.Help->actions().size(), 1);
  EXPECT_EQ(window.Help->actions().front()->text(), QStringLiteral("O..."));
  EXPECT_FALSE(window.About->isCheckable());
}

TEST_F(MainForm, AboutIsShownWithoutBlocking) {
  TAboutWindow about;
  window.setAboutWindow(&about);
  EXPECT_FALSE(about.isVisible());
  window.About->trigger();
  EXPECT_TRUE(about.isVisible());
  EXPECT_EQ(about.windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(about.ProgramName_Label->text().startsWith(QStringLiteral("Kolvaro")));
  EXPECT_FALSE(about.Purpose_Label->text().isEmpty());
  EXPECT_FALSE(about.testAttribute(Qt::WA_QuitOnClose));  // closing the main window still ends the program
}

}  // namespace
}  // namespace kolvaro
