#pragma once
// The secondary windows wear the main window's tiled picture; the main program hands the
// tile over, since the pictures belong to the client.

class QPixmap;
class QWidget;

// Tiles the picture behind the window and makes its own texts light enough to read on it.
void setTiledBackground(QWidget& window, const QPixmap& tile);
