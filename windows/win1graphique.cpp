#include "windows/win1graphique.h"
#include "ui_win1.h"

Win1Graphique::Win1Graphique(QWidget *fenetre, Ui::win1 *form)
    : QGraphicsScene(fenetre), form(form)
{
}

void Win1Graphique::dessiner()
{
    clear();
    setSceneRect(0, 0, form->graphicsView->width(), form->graphicsView->height());
}
