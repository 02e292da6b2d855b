#ifndef WIN5_H
#define WIN5_H

#include "windows/fenetreaffichage.h"

#include <QStringList>

namespace Ui
{
class win5;
}

// The scoreboard of the event in progress: ten pilots, their scores and total.
class Win5 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win5(QWidget *parent = nullptr);
    ~Win5() override;

    void miseAJour() override;

protected:
    SceneFenetre *creerScene() override;

private:
    Ui::win5 *ui;
    const QStringList nomsEpreuves;
};

#endif
