#include "platform/qt/TemplateBuilder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/DialogUnits.h"
#include "platform/qt/GdiObjects.h"
#include "platform/qt/QtText.h"

namespace {

QRect PixelRect(const DialogItem& item)
{
    return {DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y), DialogUnitsToPixelsX(item.cx),
            DialogUnitsToPixelsY(item.cy)};
}

Qt::FocusPolicy FocusPolicyFor(const DialogItem& item)
{
    return (item.style & ControlStyle::TabStop) ? Qt::StrongFocus : Qt::ClickFocus;
}

QWidget* CreateControl(QWidget& window, const DialogItem& item, const std::function<void(int)>& onCommand)
{
    switch (item.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(ToQString(item.text), &window);
        button->setAutoDefault(false);
        button->setDefault(item.kind == ControlKind::DefPushButton);
        const int id = item.id;
        QObject::connect(button, &QPushButton::clicked, &window, [onCommand, id] { onCommand(id); });
        return button;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(&window);
        if (item.style & ControlStyle::Password) {
            edit->setEchoMode(QLineEdit::Password);
            edit->setStyleSheet("lineedit-password-character: 42");  // shown as '*'
        }
        return edit;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(ToQString(item.text), &window);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(&window);
        if (const IconResource* icon = AfxFindIcon(item.iconId))
            label->setPixmap(QPixmap::fromImage(IconImageToQImage(icon->images.front())));
        label->adjustSize();
        return label;
    }
    }
    return nullptr;
}

}  // namespace

void BuildFromTemplate(QWidget& window, const DialogTemplate& dialogTemplate, const std::function<void(int)>& onCommand)
{
    window.setWindowTitle(ToQString(dialogTemplate.caption));
    window.setFixedSize(DialogUnitsToPixelsX(dialogTemplate.cx), DialogUnitsToPixelsY(dialogTemplate.cy));
    QFont font(ToQString(dialogTemplate.fontFace));
    font.setPixelSize(kDialogFontPixels);
    window.setFont(font);

    for (const DialogItem& item : dialogTemplate.items) {
        QWidget* control = CreateControl(window, item, onCommand);
        if (item.kind == ControlKind::Icon)
            control->move(PixelRect(item).topLeft());
        else
            control->setGeometry(PixelRect(item));
        control->setFocusPolicy(item.kind == ControlKind::Static || item.kind == ControlKind::Icon ? Qt::NoFocus
                                                                                                 : FocusPolicyFor(item));
        control->setProperty(kControlIdProperty, item.id);
        control->setObjectName(QString::number(item.id));
        if (item.style & ControlStyle::Hidden)
            control->hide();
    }
}

Qt::WindowFlags WindowFlagsFor(const DialogTemplate& dialogTemplate, bool hasOwner)
{
    Qt::WindowFlags flags = (dialogTemplate.style & DialogStyle::AppWindow) || !hasOwner ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dialogTemplate.style & DialogStyle::SysMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dialogTemplate.style & DialogStyle::MinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}
