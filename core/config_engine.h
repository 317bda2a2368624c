#pragma once
// The configuration store "/data/configs/tcpip.ini" (group "config").
#include <QString>

class ConfigEngine {
public:
    static ConfigEngine* pInstance();
    static ConfigEngine* p_config_engine;
    // Re-reads the file into the globals (writes it with defaults when missing).
    void load();
    QString value(const QString& key, const QString& fallback = QString()) const;
    void setValue(const QString& key, const QString& value);

private:
    ConfigEngine();
};
