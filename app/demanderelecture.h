#ifndef DEMANDERELECTURE_H
#define DEMANDERELECTURE_H

#include <QObject>

class QSocketNotifier;

// SIGHUP, the way a Unix service is asked to read its settings file again, as a Qt signal.
// The handler only writes a byte to a socket pair that the event loop watches. One per
// process; elsewhere than Unix it never fires.
class DemandeRelecture final : public QObject
{
    Q_OBJECT

public:
    explicit DemandeRelecture(QObject *parent = nullptr);
    ~DemandeRelecture() override;

signals:
    void relectureDemandeeSignal();

private:
    QSocketNotifier *veille = nullptr;
};

#endif
