// The tariff lookup of the address window: which network's prefix goes in
// front of a number of a tariff zone at this moment - working day or
// weekend, the time of day, the cheapest tariff of the zone in force - from
// the read-only tables Data\Tarife.mti and Data\Telefon.mti.
#pragma once

#include <string>

#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "toolkit/data/db_types.h"

namespace vesk {

class TDataSet;

// No tariff of the zone is in force now, or its network is not in the
// network table.
class ENoTariff : public Exception {
 public:
  using Exception::Exception;
};

// "WE" on Saturday and Sunday, "WT" on the other days (holidays included).
std::string DayCode(TDateTime date);

// The time band of the tariff on which tariffs stands: the current time of
// day is not before its ZeitAnfang and before its ZeitEnde, to the
// millisecond; the clock is read once for each bound. A band across
// midnight or one ending at 00:00 never matches.
bool TariffBandAccepts(TDataSet& tariffs);

// The prefix for zone ("" for no zone, without a lookup). filterRecord is
// the record filter routine of the tariff table during the lookup. Raises
// ENoTariff when nothing is in force, and the table layer's error when a
// table cannot be read.
std::string LookupNetworkPrefix(const std::string& zone, const TFilterRecordEvent& filterRecord);

}  // namespace vesk
