#include "sheet/qt/help_location.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace grazefall::qtui {
namespace {

const QString kHelpName = QStringLiteral("grazefall.html");

QString RunningProgramDir() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  return self.exists() ? QFileInfo(self.symLinkTarget()).absolutePath() : QString();
}

}  // namespace

QStringList HelpFileCandidates(const QString& programDir) {
  QStringList candidates;
  if (!programDir.isEmpty()) {
    candidates << programDir + "/../share/grazefall/" + kHelpName << programDir + "/" + kHelpName
               << programDir + "/help/" + kHelpName;
  }
  const QString sourceDir = qEnvironmentVariable("GRAZEFALL_SOURCE_DIR");
  if (!sourceDir.isEmpty()) candidates << sourceDir + "/resources/help/" + kHelpName;
#ifdef GRAZEFALL_HELP_DIR
  candidates << QStringLiteral(GRAZEFALL_HELP_DIR) + "/" + kHelpName;
#endif
  return candidates;
}

QString FirstHelpFile(const QStringList& candidates) {
  for (const QString& candidate : candidates) {
    const QFileInfo file(candidate);
    if (file.isFile()) return file.canonicalFilePath();
  }
  return {};
}

QString FindHelpFile() {
  return FirstHelpFile(HelpFileCandidates(RunningProgramDir()));
}

}  // namespace grazefall::qtui
