#ifndef WIN4_H
#define WIN4_H

#include "windows/fenetreaffichage.h"

namespace Ui
{
class win4;
}

// The general cup classification, drawn as badges in columns under a title that fades out
// and back in, alternating the cup title with "Vellor's Cup".
class Win4 final : public FenetreAffichage
{
    Q_OBJECT

public:
    explicit Win4(QWidget *parent = nullptr);
    ~Win4() override;

    void miseAJour() override;

    // Delay in ms of the title step armed last.
    int delaiTitre() const { return delaiTitreArme; }

public slots:
    // One step of the title animation; it arms the next one itself.
    void titreSlot();

protected:
    SceneFenetre *creerScene() override;

private:
    void armerTitre(int delai);

    Ui::win4 *ui;
    int delaiTitreArme = 0;
};

#endif
