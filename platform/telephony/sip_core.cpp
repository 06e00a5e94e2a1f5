#include "platform/telephony/sip_core.h"

#include <bctoolbox/logging.h>
#include <sys/stat.h>

#include <QTimer>
#include <cstdlib>

#include "platform/program_folder.h"

namespace vesk {
namespace {

// The library logs nothing unless VESK_SIP_LOG is set; even then not its
// debug level, which would show the messages of the authentication. Set
// before the first object of the library is made.
void SetLogLevel() {
  const unsigned mask =
      std::getenv("VESK_SIP_LOG") == nullptr
          ? 0u
          : static_cast<unsigned>(linphone::LogLevel::Message) | static_cast<unsigned>(linphone::LogLevel::Warning) |
                static_cast<unsigned>(linphone::LogLevel::Error) | static_cast<unsigned>(linphone::LogLevel::Fatal);
  for (const char* domain : {static_cast<const char*>(nullptr), "belle-sip", "bctbx"}) {
    bctbx_set_log_level_mask(domain, static_cast<int>(mask));
  }
  linphone::LoggingService::get()->setLogLevelMask(mask);
}

// While no line is open the timer stops, once the core has no call left to
// end, so an idle program does not wake 50 times a second.
struct CoreDriver {
  std::shared_ptr<linphone::Core> core;
  QTimer* timer = nullptr;
  bool resting = false;
};

CoreDriver& Driver() {
  static CoreDriver* driver = [] {
    SetLogLevel();
    auto factory = linphone::Factory::get();
    // The library appends its file names to these without a separator.
    const std::string folder = ProgramFolder() + "/";
    factory->setDataDir(folder);
    factory->setConfigDir(folder);
    factory->setDownloadDir(folder);
    factory->setMspluginsDir(SipPluginFolder());
    // No configuration file: the library would keep the password in it.
    auto created = factory->createCore("", "", nullptr);
    created->setUserAgent("Vesk Tools", "1");
    created->enableVideoCapture(false);
    created->enableVideoDisplay(false);
    created->setAudioPort(-1);
    created->start();
    auto* made = new CoreDriver{created, new QTimer};
    QObject::connect(made->timer, &QTimer::timeout, [made] {
      made->core->iterate();
      if (made->resting && made->core->getCallsNb() == 0) made->timer->stop();
    });
    return made;
  }();
  return *driver;
}

}  // namespace

std::shared_ptr<linphone::Core> SipCore() { return Driver().core; }

void WakeSipCore() {
  CoreDriver& driver = Driver();
  driver.resting = false;
  if (!driver.timer->isActive()) driver.timer->start(20);
}

void RestSipCore() { Driver().resting = true; }

bool SipCoreDriven() { return Driver().timer->isActive(); }

std::string SipPluginFolder() {
  const std::string folder = ProgramFile("sip-plugins");
  mkdir(folder.c_str(), 0700);  // there already, or the library finds none
  return folder;
}

}  // namespace vesk
