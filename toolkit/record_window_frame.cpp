#include "toolkit/record_window_frame.h"

#include <QVBoxLayout>

#include "toolkit/data/data_source.h"
#include "toolkit/db_navigator.h"
#include "toolkit/panel.h"
#include "toolkit/tab_control.h"
#include "toolkit/tool_bar.h"

namespace vesk {

TRecordWindowFrame CreateRecordWindowFrame(QWidget& window, TDataSource* source, const char* navigatorName,
                                           int navigatorWidth, const char* tabsName) {
  TRecordWindowFrame frame{};
  frame.layout = new QVBoxLayout(&window);
  frame.layout->setContentsMargins(0, 0, 0, 0);
  frame.layout->setSpacing(0);
  frame.toolBar = new TToolBar(&window);
  frame.toolBar->setObjectName("ToolBar1");
  frame.toolBar->SetDesignHeight(30);
  frame.navigator = new TDBNavigator(frame.toolBar);
  frame.navigator->setObjectName(navigatorName);
  frame.navigator->SetDataSource(source);
  frame.navigator->SetShowHint(true);
  frame.toolBar->AddControl(frame.navigator, navigatorWidth);
  frame.layout->addWidget(frame.toolBar);

  frame.panel = new TPanel(&window);
  frame.panel->SetBevelInner(bvLowered);
  frame.panel->SetBorderWidth(4);
  frame.layout->addWidget(frame.panel, 1);
  auto* panelLayout = new QVBoxLayout(frame.panel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  frame.tabs = new TTabControl(frame.panel);
  frame.tabs->setObjectName(tabsName);
  panelLayout->addWidget(frame.tabs);
  return frame;
}

TDataSource* CreateRecordSource(TComponent* owner, const char* name, TDataSet* dataSet) {
  auto* source = new TDataSource(owner);
  source->SetName(name);
  source->SetDataSet(dataSet);
  source->SetAutoEdit(false);
  return source;
}

}  // namespace vesk
