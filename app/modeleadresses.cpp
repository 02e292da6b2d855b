#include "app/modeleadresses.h"

#include <QCoreApplication>
#include <QNetworkInterface>

QStandardItemModel *modeleAdresses(int lignesMin, QObject *parent)
{
    auto *modele = new QStandardItemModel(0, 2, parent);
    modele->setHorizontalHeaderLabels({QCoreApplication::translate("Feuille", "Adresse IP"),
                                       QCoreApplication::translate("Feuille", "Réseau")});
    int ligne = 0;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto drapeaux = interface.flags();
        if (!drapeaux.testFlag(QNetworkInterface::IsRunning) ||
            drapeaux.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entrees = interface.addressEntries();
        for (const QNetworkAddressEntry &entree : entrees) {
            if (entree.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            modele->setRowCount(ligne + 1);
            modele->setItem(ligne, 0, new QStandardItem(entree.ip().toString()));
            modele->setItem(ligne, 1, new QStandardItem(interface.humanReadableName()));
            ++ligne;
        }
    }
    modele->setRowCount(qMax(ligne, lignesMin));
    return modele;
}
