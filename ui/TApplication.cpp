#include "ui/TApplication.h"

#include "core/TAbort.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "ui/base/TzxEdit.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

bool TApplication::Guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const TAbort&) {
    } catch (const TDbError& e) {
        ShowError(e.message());
    } catch (const TConvertError& e) {
        ShowError(e.message());
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
    }
    return false;
}
