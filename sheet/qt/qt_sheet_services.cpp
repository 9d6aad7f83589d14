#include "sheet/qt/qt_sheet_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QMessageBox>
#include <QUrl>

#include "sheet/qt/help_location.h"

namespace grazefall::qtui {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<std::string> QtSheetServices::programDirectory() {
  if (QCoreApplication::instance() == nullptr) return std::nullopt;
  const QString directory = QCoreApplication::applicationDirPath();
  if (directory.isEmpty()) return std::nullopt;
  std::string path = QDir::toNativeSeparators(directory).toStdString();
  if (path.back() != QDir::separator().toLatin1()) path += QDir::separator().toLatin1();
  return path;
}

std::vector<std::string> QtSheetServices::listDirectory(std::string_view directory) {
  return ListRegularFiles(directory);
}

std::optional<std::string> QtSheetServices::browseForDirectory(std::string_view title) {
  const QString chosen = QFileDialog::getExistingDirectory(owner_, ToQString(title), QString(),
                                                           QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(chosen).toStdString();
}

bool QtSheetServices::canLoadPicture(std::string_view path) {
  QImageReader reader(ToQString(path));
  reader.setDecideFormatFromContent(true);
  return reader.canRead();
}

void QtSheetServices::openHelp() {
  const QString help = FindHelpFile();
  if (help.isEmpty()) {
    QMessageBox::information(owner_, QStringLiteral("Grazefall"),
                             QStringLiteral("The help page could not be found."));
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

void QtSheetServices::showMessage(std::string_view text, std::string_view caption) {
  // Owned by no window, as the sheet's message boxes are.
  QMessageBox::critical(nullptr, ToQString(caption), ToQString(text));
}

platform::DisplayModes* QtSheetServices::displayModes() {
  if (QGuiApplication::primaryScreen() == nullptr) return nullptr;
  return &screenModes_;
}

}  // namespace grazefall::qtui
