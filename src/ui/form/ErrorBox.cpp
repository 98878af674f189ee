#include "ui/form/ErrorBox.h"

#include "model/EIBError.h"

#include <QApplication>
#include <QMessageBox>

QString ErrorBoxText(const QString &message)
{
    return QString::fromStdString(WithFullStop(message.toStdString()));
}

void ShowErrorBox(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    ErrorBoxText(message), QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

void ShowUncaught(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        ShowErrorBox(QString::fromStdString(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Unknown error"));
    }
}
