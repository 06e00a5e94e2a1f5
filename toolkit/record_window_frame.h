// The frame the record windows share: a tool bar along the top holding the
// record navigator over the window's data source, and below it, filling
// the rest, a lowered panel with a border of 4 holding the tab control on
// which the record's fields stand.
#pragma once

class QVBoxLayout;
class QWidget;

namespace vesk {

class TComponent;
class TDataSet;
class TDataSource;
class TDBNavigator;
class TPanel;
class TTabControl;
class TToolBar;

struct TRecordWindowFrame {
  TToolBar* toolBar;
  TDBNavigator* navigator;  // hints shown
  TPanel* panel;
  TTabControl* tabs;
  QVBoxLayout* layout;  // the window's; a status bar goes at its end
};

// Builds the frame in window, the navigator navigatorWidth design pixels
// wide; the navigator and the tab control carry the names given.
TRecordWindowFrame CreateRecordWindowFrame(QWidget& window, TDataSource* source, const char* navigatorName,
                                           int navigatorWidth, const char* tabsName);

// The record window's data source over dataSet, named name. The user
// starts editing with Edit or Insert, not by typing (automatic edit off).
TDataSource* CreateRecordSource(TComponent* owner, const char* name, TDataSet* dataSet);

}  // namespace vesk
