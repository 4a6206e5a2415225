#pragma once
// A pseudo-terminal pair standing in for a serial port. The slave is what the port opens (its
// name "pts/N" is a valid port name); the master is the other end of the line.
//
// The pair keeps one slave descriptor of its own open, so that the master never sees a hang-up
// while the port is closed between connections; closing the master hangs up the slave.
#include <QString>
#include <string>
#include <utility>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return keeper_ >= 0; }   // the pair was made (the master may be handed on)
    QString PortName() const;   // "pts/N"

    // Hands the master to another owner (a line simulator); the pair no longer closes it.
    int ReleaseMaster() { return std::exchange(master_, -1); }

private:
    int master_ = -1;
    int keeper_ = -1;
    std::string slavePath_;
};
