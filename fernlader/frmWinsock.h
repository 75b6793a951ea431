// frmWinsock: the socket holder of a download. It owns the TCP connection and turns its signals
// into the events the download works from: connect, data arrival, close, and a failure.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>

class QTcpSocket;

namespace fernlader {

class frmWinsock : public QObject {
    Q_OBJECT
public:
    explicit frmWinsock(QObject* eltern);
    ~frmWinsock() override;

    // Drops any connection, then starts connecting; the events report how it went.
    void Verbinden(const QString& host, std::uint16_t port);
    void Senden(const std::string& daten);
    // Reads up to max of the bytes that have arrived; 0 when none are left.
    std::int64_t GetData(char* ziel, std::int64_t max);
    // Drops the connection at once; no event follows.
    void Schliessen();

signals:
    void Connect();
    void DataArrival();
    // The server closed the connection.
    void Close();
    // The connection could not be made (verbunden false) or broke; text is the system's reason.
    void Error(bool verbunden, const QString& text);

private:
    QTcpSocket* socket_;
    bool verbunden_ = false;
    // Counts connections, so a failure reported late never reaches the next connection.
    std::uint64_t verbindung_ = 0;
};

} // namespace fernlader
