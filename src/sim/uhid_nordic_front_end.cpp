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

UhidFrontEnd::OutputAnswer UhidNordicFrontEnd::OnOutput(const uint8_t* data, size_t size, bool raise_stray) {
  OutputAnswer answer;
  if (raise_stray) answer.stray = ReportBytes(firmware_.PressDpiButton(stray_stage_));
  answer.reply = ReportBytes(firmware_.Answer(data, size));
  return answer;
}

std::optional<uhid_event> UhidNordicFrontEnd::SetLinked(bool linked) {
  return AsInput(firmware_.SetLinked(linked));
}

std::optional<uhid_event> UhidNordicFrontEnd::RaiseMouseStatus() {
  return AsInput(firmware_.MouseStatus());
}

}  // namespace tk410
