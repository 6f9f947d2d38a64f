#include "dialogs/operation.h"

#include "objects/downloads.h"
#include "platform/ui/wait.h"

namespace tavoro {

bool RequestOutstanding(const OperationContext& ctx) { return ctx.link.MidiOutBusy || ctx.link.MidiInBusy; }

plat::Bytes DigitBytes(int value, std::size_t count) {
  std::vector<std::uint8_t> out(count, 0);
  auto v = static_cast<std::uint32_t>(value);
  for (std::size_t i = count; i-- > 0;) {
    out[i] = static_cast<std::uint8_t>(v & 0x0F);
    v >>= 4;
  }
  return plat::Bytes(std::move(out));
}

bool SendForStatus(OperationContext& ctx, const plat::Bytes& body, int timeoutMs) {
  // A failed send has shown its box; the wait after it ends at once (no reply can come).
  ctx.link.MidiOutLongMsg(ctx.link.Frame(body));
  const VeskResponse r = ctx.link.GetVeskResponse(timeoutMs, kStatusMode);
  // The reply is taken: released as every request releases it, so the window's handlers do not
  // stay shut whatever follows.
  ctx.link.MidiInBusy = false;
  ctx.link.ledMIDIin.SetValue(false);
  return r.outcome == VeskResponse::Outcome::Reply && r.status && *r.status == 0;
}

bool ProgramClosing() { return plat::WaitsEnding(); }

void EndOperation(OperationContext& ctx, ProgressRef& progress) {
  if (!ProgramClosing()) ctx.host.Tavorotab_Click();
  progress.Unload();
}

void RereadAll(OperationContext& ctx, ProgressRef& progress, const std::string& text) {
  progress.Set("Download Vesk Objects", text);
  ctx.host.AllObjectsDump();
  ctx.host.SetPanelText(kPanelFreeRam, FreeRamText(ctx.store.FreeRamKw));
}

}  // namespace tavoro
