// The program's translations in one language for the life of a test; English again afterwards.
#pragma once

#include "ZyLanguage.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>
#include <vector>

class TestTranslations
{
public:
    explicit TestTranslations(const char *language)
    {
        ZyLanguage::setLanguage(QString::fromLatin1(language));
        for (const char *file : {"/bzk6_%1.qm", "/pxrqt_%1.qm", "/zylumatrektr_%1.qm"}) {
            auto translator = std::make_unique<QTranslator>();
            const QString path = QStringLiteral(BZK_PROGRAM_DIR) + QString::fromLatin1(file).arg(language);
            if (translator->load(path) && QCoreApplication::installTranslator(translator.get()))
                m_translators.push_back(std::move(translator));
        }
    }
    ~TestTranslations()
    {
        for (const auto &translator : m_translators)
            QCoreApplication::removeTranslator(translator.get());
        ZyLanguage::setLanguage(QStringLiteral("en"));
    }
    TestTranslations(const TestTranslations &) = delete;
    TestTranslations &operator=(const TestTranslations &) = delete;

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};
