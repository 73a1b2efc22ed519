#include "platform/CWinApp.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QPixmap>
#include <QStyleFactory>
#include <map>
#include <memory>

#include "platform/Afx.h"
#include "platform/Resources.h"
#include "platform/qt/GdiObjects.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(const char* lpszAppName) : m_pszAppName(lpszAppName) { g_app = this; }

CWinApp::~CWinApp() { g_app = nullptr; }

BOOL CWinApp::InitInstance() { return FALSE; }

void CWinApp::Enable3dControls()
{
    QStyle* style = QStyleFactory::create("Windows");
    if (!style)
        return;
    QApplication::setStyle(style);
    // The classic face colours that the bevels are drawn in.
    QPalette palette = style->standardPalette();
    const QColor face(212, 208, 200);
    for (const auto role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, face);
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Midlight, face.lighter(108));
    palette.setColor(QPalette::Mid, QColor(128, 128, 128));
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    QApplication::setPalette(palette);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    // Icons live as long as the program, like the resources they come from.
    static std::map<UINT, std::unique_ptr<GdiIcon>> loaded;
    if (auto found = loaded.find(nIDResource); found != loaded.end())
        return found->second.get();
    const IconResource* resource = AfxFindIcon(nIDResource);
    if (!resource)
        return nullptr;
    auto icon = std::make_unique<GdiIcon>();
    for (const IconImage& image : resource->images) {
        const QImage picture = IconImageToQImage(image);
        icon->icon.addPixmap(QPixmap::fromImage(picture));
        if (image.size == 32)
            icon->large = picture;
    }
    return loaded.emplace(nIDResource, std::move(icon)).first->second.get();
}
