// libFuzzer entry: any datagram, however malformed, must decode without a fault.
#include "core/donnees.h"
#include "core/trame.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace
{

// "erreur" lines would flood the fuzzer's output.
void silence(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    static const bool pret = [] {
        qInstallMessageHandler(silence);
        reinitialiserDonnees();
        return true;
    }();
    Q_UNUSED(pret)
    decoderTrame(
        QByteArray::fromRawData(reinterpret_cast<const char *>(donnees), static_cast<int>(taille)));
    return 0;
}
