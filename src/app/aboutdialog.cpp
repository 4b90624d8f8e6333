#include "app/aboutdialog.h"

#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int iconSize = 64;
constexpr int spacing = 8;

QLabel *centredLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(Localization::text("action.about"));

    auto *icon = new QLabel(this);
    icon->setAlignment(Qt::AlignHCenter);
    icon->setPixmap(QApplication::windowIcon().pixmap(iconSize, iconSize));

    QLabel *name = centredLabel(Localization::text("app.title"), this);
    name->setObjectName(QStringLiteral("aboutName"));
    name->setFont(SystemFont::font(18, QFont::Bold));
    QLabel *version = centredLabel(versionText(), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    QLabel *description = centredLabel(Localization::text("app.cli.description"), this);
    QLabel *licence = centredLabel(Localization::text("about.licence"), this);
    licence->setObjectName(QStringLiteral("aboutLicence"));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(Localization::text("common.ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(spacing);
    layout->addWidget(icon);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(description);
    layout->addWidget(licence);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::versionText()
{
    return Localization::format("about.version_format", QCoreApplication::applicationVersion());
}

} // namespace kestrune
