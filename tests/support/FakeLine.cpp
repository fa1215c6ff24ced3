#include "support/FakeLine.h"

#include "support/TestHex.h"

namespace kolvaro::test {

Dcb FakeLineState::defaultReported() {
  Dcb dcb;
  dcb.DCBlength = 28;
  dcb.BaudRate = 9600;
  dcb.fBinary = 1;
  dcb.fDummy2 = 5;
  dcb.wReserved = 0;
  dcb.XonLim = 2048;
  dcb.XoffLim = 512;
  dcb.ByteSize = 7;
  dcb.Parity = 1;
  dcb.StopBits = 2;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.ErrorChar = '?';
  dcb.EofChar = 0x1A;
  dcb.EvtChar = 0x0D;
  dcb.wReserved1 = 7;
  return dcb;
}

FakeLine::~FakeLine() { state_->open = false; }

bool FakeLine::getState(Dcb& dcb) {
  if (state_->getStateFails) return false;
  dcb = state_->reported;
  return true;
}

bool FakeLine::setState(const Dcb& dcb) {
  state_->statesSet.push_back(dcb);
  if (state_->setStateRejects) return false;
  state_->reported = dcb;
  return true;
}

bool FakeLine::setDtr() {
  state_->events.push_back("DTR");
  return !state_->modemLinesFail;
}

bool FakeLine::setRts() {
  state_->events.push_back("RTS");
  return !state_->modemLinesFail;
}

bool FakeLine::clearError(Status& status) {
  if (state_->clearErrorFails) return false;
  status.errors = state_->pendingErrors;
  auto& arriving = state_->arriving;
  while (!arriving.empty() && arriving.front().first <= std::chrono::steady_clock::now()) {
    state_->incoming.push_back(arriving.front().second);
    arriving.erase(arriving.begin());
  }
  status.bytesWaiting = static_cast<std::uint32_t>(state_->incoming.size());
  state_->pendingErrors = 0;
  return true;
}

bool FakeLine::purge(bool transmit, bool receive) {
  state_->events.push_back(std::string("purge ") + (transmit ? "T" : "") + (receive ? "R" : ""));
  if (state_->purgeFails) return false;
  if (receive) state_->incoming.clear();
  return true;
}

bool FakeLine::writeByte(std::uint8_t byte) {
  if (state_->writesBeforeFailure && state_->written.size() >= *state_->writesBeforeFailure) return false;
  state_->events.push_back("write " + hexByte(byte));
  state_->written.push_back(byte);
  return true;
}

bool FakeLine::readByte(std::uint8_t& byte) {
  if (state_->readFails || state_->incoming.empty()) return false;
  byte = state_->incoming.front();
  state_->incoming.pop_front();
  return true;
}

bool FakeLine::close() {
  state_->events.push_back("close");
  state_->open = false;
  return !state_->closeFails;
}

std::shared_ptr<FakeLineState> addFakePort(ScriptedPorts& ports, const std::string& portName) {
  auto state = std::make_shared<FakeLineState>();
  ports.set(portName, [state]() -> std::unique_ptr<SerialLine> {
    if (state->cannotOpen) return nullptr;
    ++state->opens;
    return std::make_unique<FakeLine>(state);
  });
  return state;
}

}  // namespace kolvaro::test
