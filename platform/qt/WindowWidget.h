#pragma once

#include <QDialog>
#include <QImage>

class CWnd;
struct WindowMessage;

// The Qt window of a CWnd. It turns Qt's events into the window's messages, and shows the
// window's backing image: everything the program paints goes into that image through a
// drawing context, and a paint event only copies it to the screen. A real exposure (the
// first show, or the return from a minimised state) first asks the window to paint itself.
class WindowWidget : public QDialog {
    Q_OBJECT
public:
    WindowWidget(CWnd& owner, QWidget* parent, Qt::WindowFlags flags);

    // Cuts the link to the owner, whose object may be gone before this widget is.
    void Detach() { m_pOwner = nullptr; }
    CWnd* Owner() const { return m_pOwner; }

    // The image the size of the client area that drawing contexts paint on.
    QImage& BackingImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;

private:
    void Send(const WindowMessage& message);

    CWnd* m_pOwner;
    QImage m_backing;
    bool m_bExposed = true;
};
