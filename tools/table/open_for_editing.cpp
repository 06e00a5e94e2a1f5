#include "tools/table/open_for_editing.h"

#include <exception>

#include "toolkit/data/notices.h"
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
    NotifyWarning(what + " können gerade nicht geändert werden, nur gelesen.\r" + writing.what());
    return false;
  }
}

}  // namespace vesk
