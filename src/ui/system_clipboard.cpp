#include "ui/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace karvex {

namespace {

class QtClipboard : public SystemClipboard
{
public:
    QString Text() const override { return QGuiApplication::clipboard()->text(); }

    void SetMarkup(const QString& markup) override
    {
        auto* data = new QMimeData;
        data->setText(markup);
        data->setHtml(markup);
        QGuiApplication::clipboard()->setMimeData(data);
    }
};

} // namespace

SystemClipboard& DesktopClipboard()
{
    static QtClipboard clipboard;
    return clipboard;
}

} // namespace karvex
