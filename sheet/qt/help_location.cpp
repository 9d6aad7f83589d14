#include "sheet/qt/help_location.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace grazefall::qtui {

QString FindHelpFile() {
  const QString name = QStringLiteral("grazefall.html");
  QStringList candidates;
  if (QCoreApplication::instance() != nullptr) {
    const QString programDir = QCoreApplication::applicationDirPath();
    candidates << programDir + "/" + name << programDir + "/help/" + name
               << programDir + "/../share/grazefall/" + name;
  }
  const QString sourceDir = qEnvironmentVariable("GRAZEFALL_SOURCE_DIR");
  if (!sourceDir.isEmpty()) candidates << sourceDir + "/resources/help/" + name;
#ifdef GRAZEFALL_HELP_DIR
  candidates << QStringLiteral(GRAZEFALL_HELP_DIR) + "/" + name;
#endif
  for (const QString& candidate : candidates) {
    const QFileInfo file(candidate);
    if (file.isFile()) return file.canonicalFilePath();
  }
  return {};
}

}  // namespace grazefall::qtui
