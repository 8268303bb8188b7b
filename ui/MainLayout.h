// The two layouts of the main window, full and simple, as geometry tables in window pixels.
#pragma once

#include <QRect>
#include <QRegion>

namespace tamzel::ui {

struct MainLayout {
    QSize window;
    QRect cutOut;          // taken out of the window shape
    bool conversationView; // RichEdit1 and its frame Shape2 shown
    QRect faceFrame;       // Shape1
    QRect faceImage;       // Image2
    QRect input;           // Edit1
    QRect titleStrip;      // Panel1
    QRect toolBar;         // ToolBar1
    int FaceLeft;          // x of the small face frames (y is always speech::kSmallFrameY)
    const char* background;      // theme image of Image1
    const char* layoutButton;    // normal image of the layout button Image3
    const char* layoutButtonDown;
    int menuButtonWidth;         // each menu button of ToolBar1: all four fit in its width
};

const MainLayout& FullLayout();
const MainLayout& SimpleLayout();
inline const MainLayout& LayoutFor(bool simple) { return simple ? SimpleLayout() : FullLayout(); }

// The window shape: the whole rectangle less the cut-out.
QRegion WindowShape(const MainLayout& layout);

// Fixed elements shared by both layouts.
inline QRect ConversationViewRect() { return {15, 65, 273, 298}; }
inline QRect ConversationFrameRect() { return {14, 64, 275, 300}; }
inline QRect InfoStripRect() { return {304, 26, 249, 23}; }

}  // namespace tamzel::ui
