#include "tools/table/open_for_editing.h"

#include <exception>

#include "platform/message_box.h"
#include "toolkit/application.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

bool OpenForEditing(TRadiRidir& table, const std::string& what) {
  table.SetReadOnly(false);
  try {
    table.Open();
    return true;
  } catch (const std::exception& writing) {
    table.SetReadOnly(true);
    try {
      table.Open();
    } catch (...) {
      // Neither way: the reason for the first is the one the user can act on.
      table.SetReadOnly(false);
      throw;
    }
    ShowMessage(what + " können gerade nicht geändert werden, nur gelesen.\r" + writing.what(),
                Application().Title(), MbIcon::Warning);
    return false;
  }
}

}  // namespace vesk
