#include "sim/uhid_nordic_front_end.h"

#include "sim/hid_descriptors.h"

namespace tk410 {

namespace {

std::optional<uhid_event> AsInput(const std::optional<NordicFrame>& frame) {
  if (!frame) return std::nullopt;
  return UhidInputEvent(frame->bytes.data(), NordicFrame::kSize);
}

}  // namespace

UhidNordicFrontEnd::UhidNordicFrontEnd(NordicReceiverFirmware& firmware, uint16_t vendor_id,
                                       uint16_t product_id)
    : firmware_(firmware), vendor_id_(vendor_id), product_id_(product_id) {}

UhidIdentity UhidNordicFrontEnd::Identity() const {
  return {firmware_.IsReceiver() ? kReceiverName : kMouseName, kPhys, vendor_id_, product_id_};
}

const std::vector<uint8_t>& UhidNordicFrontEnd::ReportDescriptor() const {
  return NordicVendorCollectionDescriptor();
}

size_t UhidNordicFrontEnd::OutputSize() const { return NordicFrame::kSize; }

std::vector<uhid_event> UhidNordicFrontEnd::OnOutput(const uint8_t* data, size_t size, uint64_t) {
  const std::optional<NordicFrame> reply = firmware_.Answer(data, size);
  if (!reply) return {};
  CountAnswer();
  return {*AsInput(reply)};
}

std::optional<uhid_event> UhidNordicFrontEnd::SetLinked(bool linked) {
  return AsInput(firmware_.SetLinked(linked));
}

std::optional<uhid_event> UhidNordicFrontEnd::RaiseMouseStatus() {
  return AsInput(firmware_.MouseStatus());
}

}  // namespace tk410
