// TCategoryPages: the tab row shared by the address and notes windows. Tab 0
// "Alle" shows every record, tabs 1 to 26 ("&A" to "&Z") the records whose
// letter field begins with that letter in either case, and tabs 27 and up
// are the user's own category pages, one per line of a list file in the
// program folder. The window keeps one of these beside its tab control and
// asks it for the filter of the selected tab and the category of a new
// record; the list file is written back when the window closes.
#pragma once

#include <string>

namespace vesk {

class TTabControl;

// The first category page's tab index.
inline constexpr int kFirstCategoryTab = 27;
// Tab width per character of the longest category title, in design pixels.
inline constexpr int kTabWidthPerChar = 8;

class TCategoryPages {
 public:
  // tabs: the window's tab control, still empty; listFile: the list file's
  // name in the program folder ("adressen.txt"); letterField: the field the
  // letter tabs filter ("Name"); categoryField: the field that holds a
  // record's category ("Kategorie").
  TCategoryPages(TTabControl& tabs, std::string listFile, std::string letterField, std::string categoryField);

  // Adds "Alle" and "&A" to "&Z", then one page per line of the list file
  // when it exists (CR LF, LF or CR line ends; an empty line is a page too).
  // A file that is not valid UTF-8 as a whole is read as Windows-1252, as
  // lists written before UTF-8 are.
  void Load();
  // Appends a page as the user typed it (no trimming) except that each line
  // break (CR LF, LF or CR) becomes a blank, so the title stays one line of
  // the list; widens the tabs for a longer title and selects the new page
  // without running the tab row's change handler.
  void Append(const std::string& title);
  // The filter text for the selected tab: empty for "Alle",
  // "Name = 'M*'OR Name = 'm*'" for "&M", "Kategorie = 'Privat'" for a
  // category page, a quote in the title doubled.
  std::string FilterText() const;
  // The category a record made now receives: the selected page's title, or
  // empty on "Alle" and the letter tabs.
  std::string NewRecordCategory() const;
  // Writes the titles of the category pages in UTF-8, one per line with
  // CR LF, to the list file (empty when there is none), replacing it atomically. Raises
  // vesk::Exception when it cannot be written.
  void Save() const;
  // Length in characters of the longest title seen so far.
  int LongestTitle() const { return longest_; }

 private:
  TTabControl& tabs_;
  std::string listFile_;
  std::string letterField_;
  std::string categoryField_;
  int longest_ = 0;

  // Adds a page at the end and widens the tabs for a longer title.
  void AddPage(const std::string& title);
};

}  // namespace vesk
