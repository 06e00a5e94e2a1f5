#include "tools/termine/reminder_list.h"

#include <cerrno>
#include <cstdio>

#include "platform/ini_document.h"
#include "platform/program_folder.h"
#include "runtime/file_io.h"
#include "toolkit/data/field.h"
#include "tools/filter/filter_constant.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {

std::vector<ReminderEntry> UpcomingReminders(TRadiRidir& table) {
  table.SetFilterText(std::string(termine::kDatum) + " >= " + DateConstant(Date()));
  table.SetFiltered(true);
  const TField& datum = *table.FieldByName(termine::kDatum);
  const TField& uhrzeit = *table.FieldByName(termine::kUhrzeit);
  const int count = table.RecordCount();
  std::vector<ReminderEntry> entries;
  for (int i = 0; i < count; ++i) {
    entries.push_back({datum.AsDateTime(), uhrzeit.AsDateTime()});
    table.Next();
  }
  return entries;
}

std::string ReminderListPath() { return ProgramFile("termine.sav"); }

std::string ReminderListText(const std::vector<ReminderEntry>& entries) {
  // Built as the profile services would build it key by key, without
  // rewriting the file once per key.
  IniDocument document("");
  for (size_t i = 0; i < entries.size(); ++i)
    document.SetValue(DateToStr(entries[i].date), std::to_string(i), TimeToStr(entries[i].time));
  return document.Text();
}

bool SaveReminderList(const std::string& path, const std::vector<ReminderEntry>& entries) {
  if (entries.empty()) return std::remove(path.c_str()) == 0 || errno == ENOENT;
  return WriteFileAtomically(path, ReminderListText(entries));
}

}  // namespace vesk
