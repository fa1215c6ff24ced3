#include "platform/DcbWin32.h"

namespace kolvaro {

Dcb fromWin32(const DCB& d) {
  Dcb dcb;
  dcb.DCBlength = d.DCBlength;
  dcb.BaudRate = d.BaudRate;
  dcb.fBinary = d.fBinary;
  dcb.fParity = d.fParity;
  dcb.fOutxCtsFlow = d.fOutxCtsFlow;
  dcb.fOutxDsrFlow = d.fOutxDsrFlow;
  dcb.fDtrControl = d.fDtrControl;
  dcb.fDsrSensitivity = d.fDsrSensitivity;
  dcb.fTXContinueOnXoff = d.fTXContinueOnXoff;
  dcb.fOutX = d.fOutX;
  dcb.fInX = d.fInX;
  dcb.fErrorChar = d.fErrorChar;
  dcb.fNull = d.fNull;
  dcb.fRtsControl = d.fRtsControl;
  dcb.fAbortOnError = d.fAbortOnError;
  dcb.fDummy2 = d.fDummy2;
  dcb.wReserved = d.wReserved;
  dcb.XonLim = d.XonLim;
  dcb.XoffLim = d.XoffLim;
  dcb.ByteSize = d.ByteSize;
  dcb.Parity = d.Parity;
  dcb.StopBits = d.StopBits;
  dcb.XonChar = d.XonChar;
  dcb.XoffChar = d.XoffChar;
  dcb.ErrorChar = d.ErrorChar;
  dcb.EofChar = d.EofChar;
  dcb.EvtChar = d.EvtChar;
  dcb.wReserved1 = d.wReserved1;
  return dcb;
}

DCB toWin32(const Dcb& dcb) {
  DCB d{};
  d.DCBlength = dcb.DCBlength;
  d.BaudRate = dcb.BaudRate;
  d.fBinary = dcb.fBinary & 1u;
  d.fParity = dcb.fParity & 1u;
  d.fOutxCtsFlow = dcb.fOutxCtsFlow & 1u;
  d.fOutxDsrFlow = dcb.fOutxDsrFlow & 1u;
  d.fDtrControl = dcb.fDtrControl & 3u;
  d.fDsrSensitivity = dcb.fDsrSensitivity & 1u;
  d.fTXContinueOnXoff = dcb.fTXContinueOnXoff & 1u;
  d.fOutX = dcb.fOutX & 1u;
  d.fInX = dcb.fInX & 1u;
  d.fErrorChar = dcb.fErrorChar & 1u;
  d.fNull = dcb.fNull & 1u;
  d.fRtsControl = dcb.fRtsControl & 3u;
  d.fAbortOnError = dcb.fAbortOnError & 1u;
  d.fDummy2 = dcb.fDummy2 & 0x1FFFFu;
  d.wReserved = dcb.wReserved;
  d.XonLim = dcb.XonLim;
  d.XoffLim = dcb.XoffLim;
  d.ByteSize = dcb.ByteSize;
  d.Parity = dcb.Parity;
  d.StopBits = dcb.StopBits;
  d.XonChar = dcb.XonChar;
  d.XoffChar = dcb.XoffChar;
  d.ErrorChar = dcb.ErrorChar;
  d.EofChar = dcb.EofChar;
  d.EvtChar = dcb.EvtChar;
  d.wReserved1 = dcb.wReserved1;
  return d;
}

}  // namespace kolvaro
