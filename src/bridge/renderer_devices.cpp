#include "bridge/renderer_devices.h"

#include "platform/usb_printers.h"

namespace vorna {

ScaleReading AbsentDevices::ReadScale(const std::u16string& portName) {
  ScaleReading reading;
  reading.state = portName.empty() ? kScaleNoPort : kScalePortNotOpened;
  return reading;
}

int32_t AbsentDevices::WriteTags(const TagWriteRequest&, int32_t& written) {
  written = 0;
  return kNoReader;
}

ResultValue AbsentDevices::ReadTags() {
  return ResultValue::Object({{u"state", ResultValue::Integer(kNoReader)}});
}

int32_t AbsentDevices::DetectCard(bool, std::u16string& uid) {
  uid.clear();
  return kNoReader;
}

ResultValue AbsentDevices::ReadCard(const CardReadRequest& request) {
  std::vector<ResultProperty> fields{{u"uid", ResultValue::String(request.uid)}};
  for (const char16_t* name :
       {u"number", u"name", u"phone", u"consume", u"points", u"discount", u"total"})
    fields.push_back({name, ResultValue::String(u"")});
  fields.push_back({u"state", ResultValue::Integer(kNoReader)});
  return ResultValue::Object(std::move(fields));
}

namespace {

class PresentPrinterDevices : public AbsentDevices {
 public:
  bool HasUsbPrinterConnected() override { return AnyPrinterConnected(); }
};

}  // namespace

std::unique_ptr<RendererDevices> MakeRendererDevices() {
  return std::make_unique<PresentPrinterDevices>();
}

}  // namespace vorna
