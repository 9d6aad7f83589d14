// The help page of an installed program is the one in its own install's share
// folder, even where the source tree it was built from is still there; the
// source tree only stands in when the install has none.
#include "sheet/qt/help_location.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace grazefall::qtui {
namespace {

class HelpLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkpath("usr/bin"));
    programDir = root.filePath("usr/bin");
  }

  QString installHelpPage(const QString& relativeDir) {
    EXPECT_TRUE(QDir(root.path()).mkpath(relativeDir));
    const QString path = root.filePath(relativeDir + "/grazefall.html");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
    return QFileInfo(path).canonicalFilePath();
  }

  QTemporaryDir root;
  QString programDir;
};

TEST_F(HelpLocationTest, AnInstalledProgramFindsThePageInItsOwnShareFolderFirst) {
  const QString installed = installHelpPage("usr/share/grazefall");
  installHelpPage("usr/bin");
  const QStringList candidates = HelpFileCandidates(programDir);
  ASSERT_FALSE(candidates.isEmpty());
  EXPECT_EQ(FirstHelpFile(candidates), installed);
}

TEST_F(HelpLocationTest, WithoutAnInstalledPageTheSourceTreeStandsIn) {
  const QString found = FirstHelpFile(HelpFileCandidates(programDir));
  ASSERT_FALSE(found.isEmpty()) << "the build's source tree has the page";
  EXPECT_TRUE(found.endsWith("/resources/help/grazefall.html")) << found.toStdString();
  EXPECT_FALSE(found.startsWith(root.path()));
}

TEST_F(HelpLocationTest, NoCandidateThatIsAFileFindsNothing) {
  EXPECT_TRUE(FirstHelpFile({root.filePath("missing.html"), programDir}).isEmpty());
}

}  // namespace
}  // namespace grazefall::qtui
