#pragma once

#include <QValidator>
#include <cstdint>

// Refuses, keystroke by keystroke, an edit that would make a text field's text longer than a
// number of UTF-8 bytes or, when asked, put a non-ASCII character into it.
class InputNumLimitFormatter : public QValidator {
    Q_OBJECT
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(bool onlyRoman READ onlyRoman WRITE setOnlyRoman)
public:
    explicit InputNumLimitFormatter(QObject* parent = nullptr) : QValidator(parent) {}

    // Most UTF-8 bytes the text may occupy; a negative limit is no limit.
    int32_t maxLength() const { return m_maxLength; }
    void setMaxLength(int32_t bytes) { m_maxLength = bytes; }
    bool onlyRoman() const { return m_onlyRoman; }
    void setOnlyRoman(bool only) { m_onlyRoman = only; }

    bool isPartialStringValid(const QString& partial) const;
    State validate(QString& input, int& position) const override;

private:
    int32_t m_maxLength = INT32_MAX;
    bool m_onlyRoman = false;
};
