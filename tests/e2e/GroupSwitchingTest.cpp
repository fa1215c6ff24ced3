// Group switching through the real window: a group typed with keys, the button clicked
// with the mouse, and the frames and the device's output seen on the simulated bus.
#include <gtest/gtest.h>

#include <QPushButton>
#include <thread>

#include "BusWindow.h"
#include "ui/MaskedField.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

struct SwitchStep {
  const char* name;
  QPushButton* TMain::*button;
  const char* logLine;  // as the simulator logs the frame: decoded, raw, acknowledgement
  const char* outputs;  // the device's outputs afterwards
};

TEST(GroupSwitching, ClickPutsFourFramesOnTheBusAndSwitchesTheListeningOutput) {
  // A device whose WY1 listens to 0/0/2 (first slot of WY1 in the group table).
  BusWindow bus({"--device", "1.1.5", "--memory", "0028:0002"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& window = bus.window();

  bus.type(window.OnOffGroup_MaskEdit, "000002");
  EXPECT_EQ(window.OnOffGroup_MaskEdit->text().toStdString(), "00\\0\\002");

  const SwitchStep steps[] = {
      {"on", &TMain::OnGroup, "15.15.254 -> 0/0/2 GroupValueWrite on  [BC FF FE 00 02 E1 00 81 20]  ACK",
       "[true,false]"},
      {"off", &TMain::OffGroup, "15.15.254 -> 0/0/2 GroupValueWrite off  [BC FF FE 00 02 E1 00 80 21]  ACK",
       "[false,false]"},
  };
  for (const auto& step : steps) {
    const std::size_t boxes = bus.platform.boxes.size();
    bus.click(window.*step.button);
    // Leaving the field for the button validated it before the click.
    EXPECT_EQ(window.members().GrAddr_Bytes[16], 0x00) << step.name;
    EXPECT_EQ(window.members().GrAddr_Bytes[17], 0x02) << step.name;
    EXPECT_EQ(window.progressPosition(), 96) << step.name;
    EXPECT_EQ(bus.platform.boxes.size(), boxes) << step.name << ": no message on a working link";

    EXPECT_EQ(bus.waitForLog(step.logLine, 4, 3s), 4) << step.name << "\n" << bus.busOutput();
    std::this_thread::sleep_for(200ms);  // nothing further follows: no fifth frame, no repetition
    const std::string log = bus.busOutput();
    EXPECT_EQ(countOf(log, step.logLine), 4) << step.name << "\n" << log;
    EXPECT_EQ(countOf(log, std::string("GroupValueWrite ") + step.name + " "), 4) << step.name << "\n" << log;

    const std::string state = bus.dump(1);
    EXPECT_EQ(jsonValue(state, "outputs"), step.outputs) << step.name << "\n" << state;
  }
}

}  // namespace
}  // namespace kolvaro::test
