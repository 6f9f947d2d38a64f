#pragma once
// What the delete, load bank and stereo merge windows share: their reach into the program (the
// main window through OperationHost, the link, the object store, the edit flags) and the common
// run of an operation that changes the instrument's memory as a whole: send one request, wait
// for its status, and after an acceptance read every kind again with the progress window up.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/progress.h"
#include "editing/edit_flags.h"
#include "link/link.h"
#include "objects/records.h"
#include "platform/bytes.h"

namespace tavoro {

// What these windows need of the main window.
class OperationHost {
 public:
  virtual ~OperationHost() = default;
  virtual QWidget* MainWindow() = 0;
  // "w#", "t#", "m#", "p#" or "mu#": the kind of the page shown (the caption of lblObjNumHash).
  virtual std::string PageLabel() = 0;
  virtual void SetPanelText(int panel, const std::string& text) = 0;
  virtual bool AllObjectsDump() = 0;
  virtual void Tavorotab_Click() = 0;
  // Fills the page of a kind from the store (0 the Wave page).
  virtual bool LoadDisplay(std::uint8_t kind) = 0;
  // The Wave page's size and mode texts (txtWaveSize, txtWaveMode).
  virtual std::string WaveSizeText() = 0;
  virtual std::string WaveModeText() = 0;
  // The choice-list commit timer: who commits the list of that name, and arming it.
  virtual void SetComboCommit(const std::string& name, std::function<void(int index)> commit) = 0;
  virtual void ArmComboRetract() = 0;
  // Runs `operation` as one of the main window's handlers: a close asked for meanwhile ends its
  // waits and is carried out once it has returned.
  virtual void RunAsHandler(const std::function<void()>& operation) = 0;
};

struct OperationContext {
  Link& link;
  ObjectStore& store;
  EditFlags& flags;
  const std::string& HomeDir;
  std::int32_t& LastBankNumber;  // the bank last asked for in this run (not kept in the settings)
  OperationHost& host;
};

// True while a request is outstanding: the operations' buttons do nothing then.
bool RequestOutstanding(const OperationContext& ctx);

// A number as `count` digit bytes (0-15), most significant first; -1 is all F.
plat::Bytes DigitBytes(int value, std::size_t count);

// Sends the framed body and waits for its status reply; true when the instrument accepted.
// Refusals and time-outs have been reported by the reply wait.
bool SendForStatus(OperationContext& ctx, const plat::Bytes& body, int timeoutMs);

// After an acceptance: the progress window tells of the download, every kind is read again and
// panel 6 shows the free memory.
void RereadAll(OperationContext& ctx, ProgressRef& progress, const std::string& text);

// True once the main window's close has ended every wait. An operation then sends and shows
// nothing more; the close is carried out when the operation has returned, the ports last.
bool ProgramClosing();

// The end of an operation: the page shown again with its front-panel key (not while the program
// closes) and the progress window gone.
void EndOperation(OperationContext& ctx, ProgressRef& progress);

}  // namespace tavoro
