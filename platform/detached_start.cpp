#include "platform/detached_start.h"

#include <QProcess>
#include <QStringList>

namespace vesk {

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  if (program.empty()) return false;
  QStringList list;
  for (const std::string& argument : arguments) list.append(QString::fromStdString(argument));
  return QProcess::startDetached(QString::fromStdString(program), list);
}

}  // namespace vesk
