#ifndef DIALOGUEREGLAGES_H
#define DIALOGUEREGLAGES_H

#include <QDialog>

namespace Ui
{
class DialogueReglages;
}
class QLabel;
class Diffusion;
class Reglages;
class Reseau;
struct Parametres;

// The organiser's settings beyond the control window: the page, the relay, the page time,
// what the station accepts and records, and the spectators' poster. It edits a copy; OK and
// Apply hand it to the settings, which the station's pieces follow at once. A value that
// cannot be used is said in red beside its field and nothing is written.
class DialogueReglages final : public QDialog
{
    Q_OBJECT

public:
    DialogueReglages(Reglages *reglages, Diffusion *diffusion, const Reseau *reseau,
                     QWidget *parent = nullptr);
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
    // The copy of the record with the fields; false when one cannot be used.
    bool lire(Parametres &copie);
    QString titreAffiche() const;

    Ui::DialogueReglages *ui;
    Reglages *reglages;
    Diffusion *diffusion;
    const Reseau *reseau;
};

#endif
