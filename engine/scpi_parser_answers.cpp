// Answer processing of the engine: completeness, normalisation and interpretation of one answer
// by the code of the request it answers.
#include "scpi_parser.h"

#include "answerfields.h"
#include "consolechannel.h"

#include <QVarLengthArray>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

QByteArray removed(QByteArray text, const char *unit)
{
    return text.replace(unit, "");
}

quint16 word16(QByteArrayView field)
{
    return static_cast<quint16>(AnswerFields::toUInt(field) & 0xFFFFu);
}

} // namespace

void SCPI_Parser::onAnswerReady()
{
    if (!readAnswer(answerBuffer)) {
        // A device that never ends its answer must not exhaust memory: drop what has piled up
        // and keep waiting; the owner's watchdog ends a link whose answers stop coming.
        if (answerBuffer.size() > MaxAnswerSize) {
            qCDebug(lcEngine) << "answer too long";
            answerBuffer.clear();
            answerBuffer.squeeze();
        }
        return;
    }

    // A connection polled for weeks passes the largest int; the count goes round to 0 like an
    // odometer instead of overflowing.
    answerCount = answerCount == std::numeric_limits<int>::max() ? 0 : answerCount + 1;
    emit dataReceived(answerCount);

    // Simplified in place (most answers only lose their closing CR LF), and its memory taken
    // back for the next answer when done; meanwhile the buffer is free for an answer read from
    // inside the processing.
    QByteArray answer = std::move(answerBuffer);
    answerBuffer = QByteArray();
    const qsizetype simple = AnswerFields::lengthIfSimple(answer);
    if (simple >= 0)
        answer.truncate(simple);
    else
        answer = std::move(answer).simplified();
    interpretAnswer(answer);
    if (answerBuffer.isEmpty()) {
        answer.resize(0);
        answerBuffer = std::move(answer);
    }

    answered = commandSinceAnswer ? -1 : requestCode;
    commandSinceAnswer = false;
    requestCode = 0;
    emit updateDisplay();
    answered = -1;
    if (!stopped)
        refreshData();
}

void SCPI_Parser::interpretAnswer(const QByteArray &answer)
{
    switch (requestCode) {
    case ReadVoltageSet:
    case ReadVoltageBounds:
    case MeasureVoltage:
    case ReadVoltageNominal:
    case ReadCurrentSet:
    case ReadCurrentBounds:
    case MeasureCurrent:
    case ReadCurrentNominal:
    case ReadChannelStatus:
    case ReadChannelEventStatus:
    case ReadChannelEventMask:
    case ReadChannelControl:
    case ReadEpu:
        parseChannelList(requestCode, answer);
        break;
    case ReadIdentity:
        parseIdentity(answer);
        break;
    case ReadFirmware:
        parseFirmware(answer);
        break;
    case ReadRamps:
        parseRamps(answer);
        break;
    case ReadSupplies:
        parseSupplies(answer);
        break;
    case ReadLimitsPercent:
    case ReadLimitsUnits:
        parseLimits(requestCode, answer);
        break;
    case ReadModuleStatus:
        parseModuleWords(answer);
        break;
    case ReadAverage:
        m_module.setAverage(answer.toInt());
        break;
    case ReadInterfaceMode:
        m_module.setInterfaceMode(answer.toUInt());
        break;
    case ReadOutputs:
        parseOutputs(answer);
        break;
    case ReadInterlock:
        m_module.setInterlock(answer.toInt());
        break;
    case ReadEmission:
        parseEmission(answer);
        break;
    case ConsoleLine:
        emit consoleChannel()->answerReceived(QString::fromLatin1(answer));
        break;
    default:
        // 0, the read-backs of the module words (104, 105, 212) and the save (179) carry
        // nothing the next cyclic request does not bring.
        break;
    }
}

void SCPI_Parser::parseChannelList(quint16 code, const QByteArray &answer)
{
    // Per-channel answers are the bulk of the traffic: they are read field by field in place,
    // without splitting the answer into copies.
    using FloatField = void (Channel::*)(float);
    FloatField floatField = nullptr;
    const char *unit = "";
    switch (code) {
    case ReadVoltageSet:
        floatField = &Channel::setVoltageSet;
        unit = "V";
        break;
    case ReadVoltageBounds:
        floatField = &Channel::setVoltageBounds;
        unit = "V";
        break;
    case MeasureVoltage:
        floatField = &Channel::setVoltageMeasure;
        unit = "V";
        break;
    case ReadVoltageNominal:
        floatField = &Channel::setVoltageNominal;
        unit = "V";
        break;
    case ReadCurrentSet:
        floatField = &Channel::setCurrentSet;
        unit = "A";
        break;
    case ReadCurrentBounds:
        floatField = &Channel::setCurrentBounds;
        unit = "A";
        break;
    case MeasureCurrent:
        floatField = &Channel::setCurrentMeasure;
        unit = "A";
        break;
    case ReadCurrentNominal:
        floatField = &Channel::setCurrentNominal;
        unit = "A";
        break;
    default:
        break;
    }

    const int count = m_module.channelCount();
    QVarLengthArray<QByteArrayView, ChannelRecords> fields;
    const char *start = answer.constData();
    const char *const end = start + answer.size();
    for (;;) {
        const auto *comma = static_cast<const char *>(memchr(start, ',', size_t(end - start)));
        if (fields.size() == count)
            return;
        fields.append(QByteArrayView(start, comma ? comma : end));
        if (!comma)
            break;
        start = comma + 1;
    }
    if (fields.size() != count)
        return;

    for (int i = 0; i < count; ++i) {
        const QByteArrayView field = fields.at(i);
        Channel &channel = m_module.channel(i);
        if (floatField) {
            // The module appends its unit letter; every occurrence of it goes.
            (channel.*floatField)(AnswerFields::toFloat(field, unit));
            continue;
        }
        switch (code) {
        case ReadChannelStatus:
            channel.setStatus(word16(field));
            break;
        case ReadChannelEventStatus: {
            // A changed event status means the module changed on its own: read the
            // configuration again.
            const quint16 eventStatus = word16(field);
            if (eventStatus != channel.eventStatus())
                fullRead = true;
            channel.setEventStatus(eventStatus);
            break;
        }
        case ReadChannelEventMask:
            channel.setEventMask(AnswerFields::toUInt(field));
            break;
        case ReadChannelControl:
            channel.setControl(word16(field));
            break;
        case ReadEpu:
            channel.setEpu(field == "YES" || field == "1");
            break;
        default:
            break;
        }
    }
}

void SCPI_Parser::parseIdentity(const QByteArray &answer)
{
    const QList<QByteArray> parts = answer.split(';');
    if (parts.size() != 2)
        return;
    const QList<QByteArray> fields = parts.at(0).split(',');
    if (fields.size() < 4)
        return;

    manufacturer = fields.at(0);
    const QString deviceName = QString::fromLatin1(fields.at(1));
    const int serialNumber = fields.at(2).toInt();
    emit updateDeviceName(deviceName);
    emit updateSerialNumber(serialNumber);
    m_module.setDeviceName(deviceName);
    m_module.setSerialNumber(serialNumber);
    m_module.setFirmwareRelease(QString::fromLatin1(fields.at(3)));
    // The model holds a fixed number of channel records; a module claiming more is clamped. One
    // claiming none (or a negative count) is not identified: the identity gate keeps asking, and
    // set commands queued for the module it was before would address no valid channel list.
    const int channels = qBound(0, parts.at(1).toInt(), static_cast<int>(ChannelRecords));
    m_module.setChannelCount(channels);
    if (channels < 1 && !commandQueue.isEmpty()) {
        qCDebug(lcEngine) << "no channels, queued commands dropped:" << commandQueue.size();
        commandQueue.clear();
        promotedCommands = 0;
    }
}

void SCPI_Parser::parseFirmware(const QByteArray &answer)
{
    const QList<QByteArray> fields = answer.split(';');
    if (fields.size() != 2)
        return;
    const QString name = QString::fromLatin1(fields.at(0));
    m_module.setFirmwareName(name);
    emit updateFirmwareName(name);
    setCharacterEcho(family().echoes(fields.at(1)));
}

void SCPI_Parser::parseRamps(const QByteArray &answer)
{
    const QList<QByteArray> fields = removed(answer, "%/s").split(';');
    auto speed = [](QByteArray field, const char *unit) {
        if (field.endsWith(unit))
            field.chop(static_cast<int>(qstrlen(unit)));
        else if (field.endsWith('%'))
            field.chop(1);
        return field.toFloat();
    };
    // Only the fields present are used; a short answer leaves the other ramp as it was.
    if (fields.size() >= 1)
        m_module.setVoltageRamp(speed(fields.at(0), "V/s"));
    if (fields.size() >= 2)
        m_module.setCurrentRamp(speed(fields.at(1), "A/s"));
}

void SCPI_Parser::parseSupplies(const QByteArray &answer)
{
    // Every "C", "V" and "%" of the answer goes; none of them separates fields.
    const AnswerFields::Fields fields = AnswerFields::split(answer, ';');
    const auto value = [&fields](int i) { return AnswerFields::toFloat(fields.at(i), "CV%"); };
    m_module.setTemperature(value(0));
    if (fields.size() >= 3) {
        m_module.setSupplyP24(value(1));
        m_module.setSupplyP5(value(2));
    }
    if (fields.size() == 5) {
        m_module.setSupplyP12(value(3));
        m_module.setSupplyN12(value(4));
    }
}

void SCPI_Parser::parseLimits(quint16 code, const QByteArray &answer)
{
    const AnswerFields::Fields fields = AnswerFields::split(answer, ';');
    if (fields.size() != 2)
        return;
    float voltage = AnswerFields::toFloat(fields.at(0), "%VA");
    float current = AnswerFields::toFloat(fields.at(1), "%VA");
    if (code == ReadLimitsUnits && !family().percentBased) {
        // The module answered in volts and amperes: express them in percent of nominal. A
        // nominal value of zero (not read yet) cannot be a reference; that limit is kept.
        const Channel &first = m_module.channel(0);
        auto percent = [](float value, float nominal) {
            return std::fabs(static_cast<float>(
                static_cast<double>(value) * 100.0 / static_cast<double>(nominal)));
        };
        voltage = first.voltageNominal() != 0.0f ? percent(voltage, first.voltageNominal())
                                                 : m_module.voltageLimit();
        current = first.currentNominal() != 0.0f ? percent(current, first.currentNominal())
                                                 : m_module.currentLimit();
    }
    m_module.setVoltageLimit(voltage);
    m_module.setCurrentLimit(current);
}

void SCPI_Parser::parseModuleWords(const QByteArray &answer)
{
    const AnswerFields::Fields fields = AnswerFields::split(answer, ';');
    if (fields.size() != 4)
        return;
    m_module.setControl(word16(fields.at(0)));
    m_module.setStatus(word16(fields.at(1)));
    m_module.setEventStatus(word16(fields.at(2)));
    m_module.setEventMask(AnswerFields::toUInt(fields.at(3)));
}

void SCPI_Parser::parseOutputs(const QByteArray &answer)
{
    const AnswerFields::Fields fields = AnswerFields::split(answer, ',');
    // Only the outputs present in the answer are used.
    for (int i = 0; i < 3 && i < fields.size(); ++i)
        m_module.setOutput(static_cast<Module::Output>(i), fields.at(i).toInt());
}

void SCPI_Parser::parseEmission(const QByteArray &answer)
{
    const AnswerFields::Fields fields = AnswerFields::split(answer, ';');
    if (fields.size() != 5)
        return;
    const auto value = [&fields](int i) { return AnswerFields::toFloat(fields.at(i), "A"); };
    m_module.setEmissionParameterP(value(0));
    m_module.setEmissionParameterI(value(1));
    m_module.setEmissionParameterD(value(2));
    m_module.setFilamentMinimum(value(3));
    m_module.setFilamentMaximum(value(4));
}
