// The window through kolvaro-bus's simulated IP interface: the local address field shows
// the address the server assigned and cannot be edited, a write and a read go through
// the tunnel, the choice is kept in dcb.ini beside the COM ports, and choosing COM1
// brings back the serial chip and the user's own address.
#include <gtest/gtest.h>

#include <QPushButton>
#include <regex>

#include "BusWindow.h"
#include "ui/MaskedField.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

std::string text(MaskedField* field) { return field->text().toStdString(); }

TEST(TunnelWindow, AssignedAddressReadOnlyAWriteAndARead) {
  BusWindow bus({"--tunnel-server", "127.0.0.1:0", "--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  std::smatch port;
  const std::string output = bus.busOutput();
  ASSERT_TRUE(std::regex_search(output, port, std::regex("tunnel server on 127\\.0\\.0\\.1:([0-9]+)"))) << output;
  bus.type(w.Local_phAddr_MaskEdit, "0101001");

  ASSERT_TRUE(w.useTunnel("127.0.0.1", static_cast<std::uint16_t>(std::stoi(port[1]))));
  EXPECT_EQ(text(w.Local_phAddr_MaskEdit), "15.15.240");
  EXPECT_TRUE(w.Local_phAddr_MaskEdit->isReadOnly());
  const std::string ini = readFile(bus.scratchFile("dcb.ini"));
  EXPECT_EQ(ini.rfind("[COM ports]\r\nCOM1=", 0), 0u) << ini;
  EXPECT_NE(ini.find("[KNXnet/IP]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Use=1"), std::string::npos) << ini;

  bus.type(w.phAddr_MaskEdit, "0102010");
  bus.type(w.OUT_1_1_GrAddr_MaskEdit, "000002");
  bus.platform.answerYesToEveryQuestion();
  bus.click(w.Write);
  EXPECT_EQ(bus.platform.boxes.back().text, "Proces konfiguracji trybu pracy wejść zakończony");
  ASSERT_EQ(bus.waitForLog("15.15.240 -> 1.2.10 MemoryWrite 1 byte at 00FF", 1, 5s), 1) << bus.busOutput();
  EXPECT_EQ(jsonValue(bus.dump(1), "address"), "\"1.2.10\"");

  bus.type(w.OUT_1_1_GrAddr_MaskEdit, "");
  bus.click(w.Read);
  EXPECT_EQ(text(w.phAddr_MaskEdit), "01.02.010");
  EXPECT_EQ(text(w.OUT_1_1_GrAddr_MaskEdit), "00\\0\\002");
  bool connectedRow = false;
  for (const LogRow& row : w.telegramLog().rows())
    connectedRow = connectedRow || row.event.find(": kanał 1, adres 15.15.240") != std::string::npos;
  EXPECT_TRUE(connectedRow);

  w.InterfaceTestClick();
  EXPECT_EQ(bus.platform.boxes.back().text.rfind("Interfejs KNXnet/IP 127.0.0.1:" + std::string(port[1]) +
                                                     ": kanał 1, przydzielony adres 15.15.240. Stan połączenia po ",
                                                 0),
            0u)
      << bus.platform.boxes.back().text;

  w.COM1Click();
  EXPECT_FALSE(w.tunnelInUse());
  EXPECT_EQ(text(w.Local_phAddr_MaskEdit), "01.01.001");
  EXPECT_FALSE(w.Local_phAddr_MaskEdit->isReadOnly());
  EXPECT_NE(readFile(bus.scratchFile("dcb.ini")).find("Use=0"), std::string::npos);
}

}  // namespace
}  // namespace kolvaro::test
