#ifndef WIN1_H
#define WIN1_H

#include "windows/fenetreaffichage.h"

#include <QStringList>

namespace Ui
{
class win1;
}

// The series of the event in flight, the current one framed, under the chronometers.
class Win1 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win1(QWidget *parent = nullptr);
    ~Win1() override;

    void miseAJour() override;

protected:
    SceneFenetre *creerScene() override;

private:
    Ui::win1 *ui;
    const QStringList nomsEpreuves;
};

#endif
