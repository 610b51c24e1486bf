#include "app/Application.h"

#include "platform/Errors.h"
#include "widgets/DialogSeam.h"

#include <exception>

bool runReported(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const TalvensaError &error) {
        reportError(error.message());
    } catch (const std::exception &error) {
        reportError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        reportError(QStringLiteral("予期しないエラーが発生しました"));
    }
    return false;
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool result = false;
    runReported([&] { result = QApplication::notify(receiver, event); });
    return result;
}
