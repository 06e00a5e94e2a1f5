// The host's button "Jetzt abgleichen": one sync of the addresses with the
// account's address book (section Abgleich of the host's INI file), the
// result in the status bar, a failure in one box.
#pragma once

class QBoxLayout;

namespace vesk {

class TFRVeskTools;

void AddSyncButton(QBoxLayout& buttons, TFRVeskTools& window);

}  // namespace vesk
