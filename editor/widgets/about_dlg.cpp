#include "editor/widgets/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "calyx_version.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/dialog_units.h"
#include "editor/widgets/icons.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

namespace {

constexpr int iconPixels = 32;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CAboutDlg(CCalyxApp::currentGameStrings(), parent) {}

CAboutDlg::CAboutDlg(const GameStrings& strings, QWidget* parent) : QDialog(parent), author_(new QLabel(this)) {
    setObjectName(QString::number(about_dlg::dialogId));
    setWindowTitle(QString::fromUtf8(about_dlg::caption));
    author_->setText(QString::fromUtf8(about_dlg::authorLabelText));
    if (strings.AreGameStringsLoaded()) {
        if (const auto caption = strings.GetGameString(about_dlg::captionTextId)) {
            setWindowTitle(fromGameText(*caption) + QStringLiteral("Calyx"));
        }
        if (const auto author = strings.GetGameString(about_dlg::authorTextId)) author_->setText(fromGameText(*author));
    }
    setAccessibleName(windowTitle());

    const DialogUnits units = DialogUnits::of(*this);
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon(app_icon::application).pixmap(iconPixels, iconPixels));
    icon->setAccessibleName(QStringLiteral("Calyx"));
    placeInDialogUnits(*icon, units, 11, 17, 21, 20);

    auto* version = new QLabel(QStringLiteral("Calyx version %1").arg(QStringLiteral(CALYX_VERSION)), this);
    placeInDialogUnits(*version, units, 40, 10, 130, 9);
    author_->setObjectName(QString::number(about_dlg::authorLabel));
    placeInDialogUnits(*author_, units, 40, 25, 40, 9);
    auto* name = new QLabel(QStringLiteral("Ornwick"), this);
    placeInDialogUnits(*name, units, 82, 25, 90, 9);
    author_->setBuddy(name);
    name->setAccessibleName(author_->text() + QLatin1Char(' ') + name->text());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    placeInDialogUnits(*ok, units, 178, 7, 32, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(units.size(217, 55));
}

}  // namespace calyx::editor
