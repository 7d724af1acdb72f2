#pragma once

#include <QString>
#include <QtGlobal>

/// One channel of the connected module: set, measured, bound and nominal values in volts and
/// amperes, and the channel's status words. A plain record; the engine writes it from answers.
class Channel
{
public:
    /// The set values a channel takes, in volts or amperes: the range the panel's prompts offer,
    /// and the one a bridge command and every step of a sequence are checked against.
    struct Range
    {
        double minimum = 0.0;
        double maximum = 0.0;
        /// False while the nominal value is not a finite number other than 0: not read yet, or
        /// broken ("inf", "nan"); nothing lies in the range then, and \a reason says why.
        bool valid = false;
        QString reason;
        /// "V" or "A".
        QString unit;
        int channel = 0;

        /// Compared in single precision, the precision of the nominal value and of every set
        /// value sent: 0.005 A lies in the range of a 0.005 A channel although 0.005f is less.
        bool contains(double value) const;
        /// Why \a value is not taken: the reason of an invalid range, or "-5 V is outside
        /// 0 ... 6000 V of channel 2"; an empty text when it is taken.
        QString refusal(double value) const;
    };

    explicit Channel(int index = 0)
        : m_index(index)
    {
    }

    int index() const { return m_index; }

    float voltageSet() const { return m_voltageSet; }
    void setVoltageSet(float value) { m_voltageSet = value; }
    float currentSet() const { return m_currentSet; }
    void setCurrentSet(float value) { m_currentSet = value; }
    float voltageMeasure() const { return m_voltageMeasure; }
    void setVoltageMeasure(float value) { m_voltageMeasure = value; }
    float currentMeasure() const { return m_currentMeasure; }
    void setCurrentMeasure(float value) { m_currentMeasure = value; }
    float voltageBounds() const { return m_voltageBounds; }
    void setVoltageBounds(float value) { m_voltageBounds = value; }
    float currentBounds() const { return m_currentBounds; }
    void setCurrentBounds(float value) { m_currentBounds = value; }
    float voltageNominal() const { return m_voltageNominal; }
    void setVoltageNominal(float value) { m_voltageNominal = value; }
    float currentNominal() const { return m_currentNominal; }
    void setCurrentNominal(float value) { m_currentNominal = value; }

    quint16 status() const { return m_status; }
    void setStatus(quint16 value) { m_status = value; }
    quint16 eventStatus() const { return m_eventStatus; }
    void setEventStatus(quint16 value) { m_eventStatus = value; }
    quint32 eventMask() const { return m_eventMask; }
    void setEventMask(quint32 value) { m_eventMask = value; }
    quint16 control() const { return m_control; }
    void setControl(quint16 value) { m_control = value; }

    bool epu() const { return m_epu; }
    void setEpu(bool value) { m_epu = value; }

    /// Set voltages: 0 ... |nominal|, or -|nominal| ... |nominal| on a bipolar channel (EPU)
    /// and on a channel of negative polarity (a negative nominal voltage).
    Range allowedVoltage() const;
    /// Set currents: 0 ... |nominal current|.
    Range allowedCurrent() const;

    bool operator==(const Channel &other) const;
    bool operator!=(const Channel &other) const { return !(*this == other); }

private:
    int m_index = 0;
    float m_voltageSet = 0.0f;
    float m_currentSet = 0.0f;
    float m_voltageMeasure = 0.0f;
    float m_currentMeasure = 0.0f;
    float m_voltageBounds = 0.0f;
    float m_currentBounds = 0.0f;
    float m_voltageNominal = 0.0f;
    float m_currentNominal = 0.0f;
    quint16 m_status = 0;
    quint16 m_eventStatus = 0;
    quint32 m_eventMask = 0;
    quint16 m_control = 0;
    bool m_epu = false;
};
