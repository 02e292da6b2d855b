#include "windows/win4graphique.h"
#include "ui_win4.h"

Win4Graphique::Win4Graphique(QWidget *fenetre, Ui::win4 *form)
    : QGraphicsScene(fenetre), form(form)
{
}

void Win4Graphique::dessiner()
{
    clear();
    setSceneRect(0, 0, form->graphicsView->width(), form->graphicsView->height());
}
