#include "tools/adressen/adressen_table.h"

#include <filesystem>
#include <system_error>

#include "tools/table/table_definition.h"

namespace vesk {

void CreateAdressenTableWhenMissing() {
  std::error_code error;
  if (std::filesystem::exists(kAdressenTable, error)) return;
  std::filesystem::create_directories(std::filesystem::path(kAdressenTable).parent_path(), error);
  // Room for double names, long street names with house number and
  // addition, international numbers with extension, and a category title
  // as long as still fits a tab.
  CreateTable(kAdressenTable,
              {{.name = "Name", .letter = 'S', .chars = 40},
               {.name = "Vorname", .letter = 'S', .chars = 40},
               {.name = "PLZ", .letter = 'S', .chars = 10},
               {.name = "Stadt", .letter = 'S', .chars = 40},
               {.name = "Strasse", .letter = 'S', .chars = 50},
               {.name = "Telefon1", .letter = 'S', .chars = 30},
               {.name = "Telefon2", .letter = 'S', .chars = 30},
               {.name = "Fax", .letter = 'S', .chars = 30},
               {.name = "Email", .letter = 'S', .chars = 80},
               {.name = "URL", .letter = 'S', .chars = 120},
               {.name = "Text", .letter = 'M'},
               {.name = "Kategorie", .letter = 'S', .chars = 30},
               {.name = "Tarifzone1", .letter = 'S', .chars = 30},
               {.name = "Tarifzone2", .letter = 'S', .chars = 30}},
              {{.name = kNameIndex, .fields = {0, 1}, .caseInsensitive = true}});
}

}  // namespace vesk
