#ifndef DIALOGUEREGLAGES_H
#define DIALOGUEREGLAGES_H

#include "core/parametres.h"

#include <QDialog>
#include <QMultiHash>

namespace Ui
{
class DialogueReglages;
}
class QLabel;
class Station;

// Why a value of the dialog cannot be used, empty when it can; `lu`: as the file gave it when
// the dialog opened. Checks the text only: opening the page or the recording is the station's.
QString refusSaisie(const Reglage &r, const Parametres &valeurs, bool lu = false);

// The organiser's settings beyond the control window: the page, the relay, the page time,
// what the station accepts and records, and the spectators' poster. It edits a copy of the
// settings, each in the widgets whose property "reglage" names its row; OK and Apply hand
// the copy to the station. A value that cannot be used, or that the station refuses (a port
// taken), is said in red beside its field and nothing is written.
class DialogueReglages final : public QDialog
{
    Q_OBJECT

public:
    explicit DialogueReglages(Station *station, QWidget *parent = nullptr);
    ~DialogueReglages() override;

    // False, with the reasons shown, when a value cannot be used.
    bool appliquer();

private slots:
    void ajouterEmetteurSlot();
    void choisirEnregistrementSlot();
    void afficheSlot();

private:
    void remplir();
    void ajouterSource(const QString &texte);
    // The settings as the fields give them, over the file's; false when one cannot be used.
    bool lire(Parametres &copie);
    QWidget *editeur(const Reglage &r) const;
    QLabel *etiquette(const Reglage &r, const char *role) const;
    QString titreAffiche() const;

    Ui::DialogueReglages *ui;
    Station *station;
    QMultiHash<QString, QWidget *> champs; // by row name
};

#endif
