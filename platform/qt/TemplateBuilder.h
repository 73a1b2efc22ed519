#pragma once

#include <QWidget>
#include <functional>

#include "platform/Resources.h"

class QWidget;

// The property under which every control widget carries its control id.
inline constexpr const char* kControlIdProperty = "controlId";

// Sizes the window to the template's client area, sets its caption and font, and creates
// its controls; a click on a button calls onCommand with the button's id.
void BuildFromTemplate(QWidget& window, const DialogTemplate& dialogTemplate, const std::function<void(int)>& onCommand);

// The Qt flags of a window with the template's style.
Qt::WindowFlags WindowFlagsFor(const DialogTemplate& dialogTemplate, bool hasOwner);
