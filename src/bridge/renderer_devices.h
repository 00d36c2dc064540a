#pragma once
// The devices the page reaches from inside the renderer: card and tag readers,
// the scale, serial ports and printer presence. Each device subsystem supplies
// its own object; until then, or when its device or vendor library is absent,
// AbsentDevices answers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bridge/device_arguments.h"
#include "bridge/js_value.h"

namespace vorna {

struct ScaleReading {
  int32_t state = 1;
  std::u16string weight, price, total;
};

class RendererDevices {
 public:
  virtual ~RendererDevices() = default;

  virtual bool HasUsbPrinterConnected() = 0;
  virtual ScaleReading ReadScale(const std::u16string& portName) = 0;
  virtual std::vector<std::u16string> ComPorts() = 0;

  // Tags. WriteTags returns the state and sets `written`.
  virtual int32_t WriteTags(const TagWriteRequest& tag, int32_t& written) = 0;
  // readDataFromTag's whole result object.
  virtual ResultValue ReadTags() = 0;
  virtual void ClearTagRecord() = 0;
  virtual int32_t SetRfPower(double power) = 0;
  virtual bool IsReadCompletion() = 0;

  // Cards.
  virtual int32_t DetectCard(bool includeHalted, std::u16string& uid) = 0;
  virtual int32_t CreateCard(const CardWriteRequest& card) = 0;
  virtual int32_t WriteCard(const CardWriteRequest& card) = 0;
  // readDataFromCard's whole result object.
  virtual ResultValue ReadCard(const CardReadRequest& request) = 0;
  virtual int32_t Beep(int32_t mode) = 0;
};

// What the page sees with no reader, no scale and no serial port.
class AbsentDevices : public RendererDevices {
 public:
  bool HasUsbPrinterConnected() override { return false; }
  ScaleReading ReadScale(const std::u16string& portName) override;
  std::vector<std::u16string> ComPorts() override { return {}; }
  int32_t WriteTags(const TagWriteRequest&, int32_t& written) override;
  ResultValue ReadTags() override;
  void ClearTagRecord() override {}
  int32_t SetRfPower(double) override { return kNoPrimaryTagReader; }
  bool IsReadCompletion() override { return true; }
  int32_t DetectCard(bool, std::u16string& uid) override;
  int32_t CreateCard(const CardWriteRequest&) override { return kNoReader; }
  int32_t WriteCard(const CardWriteRequest&) override { return kNoReader; }
  ResultValue ReadCard(const CardReadRequest& request) override;
  int32_t Beep(int32_t) override { return kNoReader; }

  static constexpr int32_t kNoReader = 2;
  static constexpr int32_t kNoPrimaryTagReader = 8;
  static constexpr int32_t kScaleNoPort = 1;
  static constexpr int32_t kScalePortNotOpened = 5;
};

// The renderer's devices: the printer-presence test is real, the rest absent
// until their subsystems arrive.
std::unique_ptr<RendererDevices> MakeRendererDevices();

}  // namespace vorna
