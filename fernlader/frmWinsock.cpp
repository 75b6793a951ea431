// The socket holder of a download.
#include "fernlader/frmWinsock.h"

#include <QSignalBlocker>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace fernlader {

frmWinsock::frmWinsock(QObject* eltern) : QObject(eltern), socket_(new QTcpSocket(this)) {
    connect(socket_, &QTcpSocket::connected, this, [this] {
        verbunden_ = true;
        emit Connect();
    });
    connect(socket_, &QTcpSocket::readyRead, this, &frmWinsock::DataArrival);
    connect(socket_, &QTcpSocket::disconnected, this, [this] {
        if (!verbunden_) return;
        verbunden_ = false;
        emit Close();
    });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // The server closing its end is the normal end of an answer: "disconnected" follows.
        if (e == QAbstractSocket::RemoteHostClosedError) return;
        // Qt may report a failure inside connectToHost already; the caller hears of it only
        // once its own call has returned.
        QTimer::singleShot(0, this,
                           [this, n = verbindung_, v = verbunden_, text = socket_->errorString()] {
                               if (n == verbindung_) emit Error(v, text);
                           });
    });
}

frmWinsock::~frmWinsock() { Schliessen(); }

void frmWinsock::Verbinden(const QString& host, std::uint16_t port) {
    Schliessen();
    socket_->connectToHost(host, port);
}

void frmWinsock::Senden(const std::string& daten) {
    socket_->write(daten.data(), static_cast<qint64>(daten.size()));
}

std::int64_t frmWinsock::GetData(char* ziel, std::int64_t max) {
    return std::max<qint64>(0, socket_->read(ziel, max));
}

void frmWinsock::Schliessen() {
    ++verbindung_;
    verbunden_ = false;
    const QSignalBlocker still(socket_);
    socket_->abort();
}

} // namespace fernlader
