#include "app/VelkUtilityApp.h"

#include <cxxabi.h>
#include <QException>
#include <memory>
#include <string>

#include "app/AppIdentity.h"
#include "app/AppLook.h"
#include "app/PanelLayout.h"
#include "common/DebugUtil.h"
#include "controls/ImageStrip.h"
#include "controls/SPDialControl.h"

namespace {

std::string typeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? demangled.get() : type.name();
}

}  // namespace

VelkUtilityApp::VelkUtilityApp(int& argc, char** argv) : QApplication(argc, argv) {
    velk::app::identifyApplication();
    velk::app::applyAppLook(*this);
    SPDialControl::setDefaultImage(velk::controls::resourceImage(velk::layout::kArt_Default_Knob.image),
                                   velk::layout::kArt_Default_Knob.slices);
}

bool VelkUtilityApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const QException& exception) {
        // The toolkit's own exceptions name themselves and give a reason.
        const std::string line = "NSException Caught " + typeName(typeid(exception)) + ":" + exception.what();
        mstd::logLine(line.c_str());
    } catch (...) {
        mstd::logLine("C++ Exception Caught");
    }
    return false;
}
