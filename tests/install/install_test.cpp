#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <string>

#include "platform/shared_data.h"
#include "platform/window_messages.h"
#include "tests/support/scoped_env.h"

namespace vesk {
namespace {

constexpr int kWait = 20000;
constexpr int kLongWait = 15 * 60 * 1000;
constexpr char kMissingData[] = "mitgelieferten Daten";

struct Outcome {
  int code = -1;
  QString output;
};

Outcome RunProgram(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(kLongWait)) process.kill();
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAll())};
}

QString ExecutableOf(uint32_t process) {
  return QFileInfo(QStringLiteral("/proc/%1/exe").arg(process)).canonicalFilePath();
}

std::optional<WindowHandle> HostWindow() { return FindWindow("TFRVeskTools", "Tools"); }
std::optional<WindowHandle> AlarmWindow() { return FindWindow("Alarm", "Alarm"); }

// Each test has its own program folder and runtime folder.
class InstallTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid() && runtime_.isValid() && stage_.isValid());
    setenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit().constData(), 1);
    environment_.insert("XDG_RUNTIME_DIR", runtime_.path());
    environment_.insert("VESK_HOME", home_.path());
    environment_.insert("VESK_NONINTERACTIVE", "1");
    environment_.insert("QT_QPA_PLATFORM", "offscreen");
    environment_.remove("VESK_DATA_DIR");
  }

  // What an installation under usr must hold, and how it runs.
  void CheckInstalled(const QString& usr) {
    const QString programs = usr + "/lib/vesktools";
    for (const char* file : {"vesktools", "alarm", "libTools.so", "libradiridir.so"}) {
      EXPECT_TRUE(QFile::exists(programs + "/" + file)) << file;
    }
    EXPECT_EQ(QFileInfo(usr + "/bin/vesktools").symLinkTarget(), programs + "/vesktools");
    EXPECT_TRUE(QFileInfo(usr + "/bin/mtitool").isExecutable());
    CheckRunPaths(usr);
    CheckSharedData(usr + "/share/vesktools");
    for (const char* size : {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
      EXPECT_TRUE(QFile::exists(usr + "/share/icons/hicolor/" + size + "/apps/vesktools.png")) << size;
    }
    EXPECT_TRUE(QFile::exists(usr + "/share/doc/vesktools/copyright"));
    CheckEntries(usr);
    CheckTableTool(usr + "/bin/mtitool");
    const QString errors = RunHost(usr + "/bin/vesktools", programs);
    EXPECT_FALSE(errors.contains(kMissingData)) << errors.toStdString();
    // Made at the first start from the shipped tariff data.
    EXPECT_TRUE(HasTariffTables(home_.path()));
  }

  static bool HasTariffTables(const QString& home) {
    return QFile::exists(home + "/Data/Tarife.mti") && QFile::exists(home + "/Data/Telefon.mti");
  }

  // The engine is found beside the programs, not in the build folder.
  void CheckRunPaths(const QString& usr) {
    for (const QString& file : {usr + "/lib/vesktools/vesktools", usr + "/lib/vesktools/alarm",
                                usr + "/lib/vesktools/libTools.so", usr + "/bin/mtitool"}) {
      const Outcome dynamic = RunProgram("readelf", {"-d", file});
      ASSERT_EQ(dynamic.code, 0) << dynamic.output.toStdString();
      EXPECT_TRUE(dynamic.output.contains("(RUNPATH)") && dynamic.output.contains("$ORIGIN"))
          << file.toStdString() << dynamic.output.toStdString();
      EXPECT_FALSE(dynamic.output.contains(VESK_BUILD_FOLDER)) << file.toStdString();
    }
  }

  // Everything under data/ but the scripts, as it stands there.
  void CheckSharedData(const QString& shared) {
    const QString source = QStringLiteral(VESK_SOURCE_FOLDER "/data");
    int files = 0;
    for (QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
      const QString file = it.next();
      const QString relative = QDir(source).relativeFilePath(file);
      const QFileInfo installed(shared + "/" + relative);
      if (file.endsWith(".py")) {
        EXPECT_FALSE(installed.exists()) << relative.toStdString();
      } else {
        ++files;
        EXPECT_TRUE(installed.exists() && installed.size() == QFileInfo(file).size()) << relative.toStdString();
      }
    }
    EXPECT_GT(files, 0);
  }

  void CheckEntries(const QString& usr) {
    const QString entry = usr + "/share/applications/vesktools.desktop";
    const Outcome desktop = RunProgram("desktop-file-validate", {entry});
    EXPECT_EQ(desktop.code, 0) << desktop.output.toStdString();
    // The handler of telephone links, which it is handed as one argument.
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    EXPECT_TRUE(lines.contains("Exec=vesktools --dial %u"));
    const QStringList mimeLines = lines.filter(QRegularExpression("^MimeType="));
    ASSERT_EQ(mimeLines.size(), 1);
    const QStringList types = mimeLines.front().mid(9).split(';', Qt::SkipEmptyParts);
    for (const char* scheme : {"tel", "sip", "callto"}) {
      EXPECT_TRUE(types.contains(QStringLiteral("x-scheme-handler/") + scheme)) << scheme;
    }
    const Outcome metainfo = RunProgram(
        "appstreamcli", {"validate", "--no-net", usr + "/share/metainfo/de.vesktools.VeskTools.metainfo.xml"});
    EXPECT_EQ(metainfo.code, 0) << metainfo.output.toStdString();
  }

  void CheckTableTool(const QString& mtitool) {
    const QString table = home_.filePath("probe.mti");
    const Outcome created = RunProgram(mtitool, {"create", table, "Name:S:20"});
    EXPECT_EQ(created.code, 0) << created.output.toStdString();
    const Outcome info = RunProgram(mtitool, {"info", table});
    EXPECT_EQ(info.code, 0) << info.output.toStdString();
    EXPECT_TRUE(info.output.contains("Name")) << info.output.toStdString();
  }

  // Starts the host, sees it load its library and start alarm from
  // programs, ends it with SIGTERM; what it wrote to standard error.
  QString RunHost(const QString& host, const QString& programs) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(host, {});
    EXPECT_TRUE(process.waitForStarted(kWait));
    std::optional<WindowHandle> alarm;
    const bool running = QTest::qWaitFor([&] { return HostWindow() && (alarm = AlarmWindow()); }, kWait);
    EXPECT_TRUE(running) << process.readAllStandardError().toStdString();
    if (running) {
      const auto pid = static_cast<uint32_t>(process.processId());
      EXPECT_EQ(ExecutableOf(pid), programs + "/vesktools");
      EXPECT_EQ(ExecutableOf(alarm->process), programs + "/alarm");
      QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
      EXPECT_TRUE(maps.open(QIODevice::ReadOnly));
      const QByteArray mapped = maps.readAll();
      EXPECT_TRUE(mapped.contains((programs + "/libTools.so").toLocal8Bit()));
      EXPECT_TRUE(mapped.contains((programs + "/libradiridir.so").toLocal8Bit()));
    }
    EXPECT_EQ(kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    EXPECT_TRUE(process.waitForFinished(kWait));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return !AlarmWindow(); }, kWait)) << "alarm still runs";
    return QString::fromLocal8Bit(process.readAllStandardError());
  }

  QTemporaryDir home_;
  QTemporaryDir runtime_;
  QTemporaryDir stage_;
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
};

TEST(SharedData, VeskDataDirWinsElseTheFolderBesideTheProgramsIsFound) {
  {
    ScopedEnv data("VESK_DATA_DIR", "/opt/vesk/daten");
    EXPECT_EQ(SharedDataFolder(), "/opt/vesk/daten");
    EXPECT_EQ(SharedDataFile("tarife/Tarife.csv"), "/opt/vesk/daten/tarife/Tarife.csv");
  }
  ScopedEnv empty("VESK_DATA_DIR", "");
  // This program lies two levels below the build folder, as the installed
  // programs lie in lib/vesktools below the prefix.
  EXPECT_EQ(SharedDataFolder(), VESK_BUILD_FOLDER "/share/vesktools");
}

TEST_F(InstallTest, InstalledIntoAStagingFolderRunsFromThereAndUninstallsCleanly) {
  QProcessEnvironment install = QProcessEnvironment::systemEnvironment();
  install.insert("DESTDIR", stage_.path());
  const Outcome installed = RunProgram(VESK_CMAKE, {"--install", VESK_BUILD_FOLDER, "--prefix", "/usr"}, install);
  ASSERT_EQ(installed.code, 0) << installed.output.toStdString();
  const QString usr = stage_.filePath("usr");
  CheckInstalled(usr);

  // Without its shared data beside it the host says so, and still runs,
  // without tariff tables.
  QTemporaryDir bare;
  QTemporaryDir bareHome;
  ASSERT_TRUE(bare.isValid() && bareHome.isValid());
  environment_.insert("VESK_HOME", bareHome.path());
  const QString programs = bare.filePath("lib/vesktools");
  ASSERT_TRUE(QDir().mkpath(programs));
  for (const char* file : {"vesktools", "alarm", "libTools.so", "libradiridir.so"}) {
    ASSERT_TRUE(QFile::copy(usr + "/lib/vesktools/" + file, programs + "/" + file)) << file;
  }
  EXPECT_TRUE(RunHost(programs + "/vesktools", programs).contains(kMissingData));
  EXPECT_FALSE(HasTariffTables(bareHome.path()));

  const Outcome removed = RunProgram(
      VESK_CMAKE,
      {"-DMANIFEST=" VESK_BUILD_FOLDER "/install_manifest.txt", "-P", VESK_SOURCE_FOLDER "/packaging/uninstall.cmake"},
      install);
  ASSERT_EQ(removed.code, 0) << removed.output.toStdString();
  QDirIterator left(stage_.path(), QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
  EXPECT_FALSE(left.hasNext()) << left.next().toStdString();
  EXPECT_FALSE(QDir(usr + "/lib/vesktools").exists());
  EXPECT_FALSE(QDir(usr + "/share/vesktools").exists());
  EXPECT_TRUE(QDir(usr + "/bin").exists()) << "a shared folder went with the program";
  EXPECT_TRUE(QDir(home_.filePath("Data")).exists()) << "the user's data went with the program";
}

TEST_F(InstallTest, DebianPackageUnpackedRunsAndLintianFindsNoError) {
  const Outcome packed =
      RunProgram(VESK_CPACK, {"--config", VESK_BUILD_FOLDER "/CPackConfig.cmake", "-B", stage_.path()});
  ASSERT_EQ(packed.code, 0) << packed.output.toStdString();
  const QStringList packages = QDir(stage_.path()).entryList({"vesktools_*.deb"}, QDir::Files);
  ASSERT_EQ(packages.size(), 1) << packed.output.toStdString();
  const QString package = stage_.filePath(packages.front());

  const Outcome fields = RunProgram("dpkg-deb", {"-f", package, "Package", "Depends", "Description"});
  ASSERT_EQ(fields.code, 0) << fields.output.toStdString();
  EXPECT_TRUE(fields.output.contains("Package: vesktools"));
  for (const char* needed : {"libqt6widgets6", "libsqlite3-0", "libicu", "libsecret-1-0"}) {
    EXPECT_TRUE(fields.output.contains(needed)) << needed << "\n" << fields.output.toStdString();
  }
  EXPECT_TRUE(fields.output.contains("address book") && fields.output.contains("Adressbuch"))
      << fields.output.toStdString();

  const QString root = stage_.filePath("root");
  const Outcome unpacked = RunProgram("dpkg-deb", {"-x", package, root});
  ASSERT_EQ(unpacked.code, 0) << unpacked.output.toStdString();
  CheckInstalled(root + "/usr");

  const QString lintian = QStandardPaths::findExecutable("lintian");
  ASSERT_FALSE(lintian.isEmpty()) << "scripts/install-deps installs lintian";
  const Outcome report = RunProgram(lintian, {"--tag-display-limit", "0", package});
  std::cout << "lintian:\n" << report.output.toStdString();
  for (const QString& line : report.output.split('\n')) EXPECT_FALSE(line.startsWith("E: ")) << line.toStdString();
  EXPECT_EQ(report.code, 0);
}

}  // namespace
}  // namespace vesk
