#include "ui/StatusTexts.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct LanguageRow {
    const char* language;
    const char* dialog;
    const char* status[5];
    const char* suffix;
};

const LanguageRow Rows[] = {
    {"english", "Unpacking the installer...",
     {"Unpacking the installer...", "Starting the installer...", "Searching for the JVM...",
      "Installing the JVM...", "Restarting the installer..."},
     "\n\nSee errors.log and jinstall.log files for details."},
    {"french", "Préparation Wizard...",
     {"Préparation Wizard...", "Démarrage Wizard...", "Recherche de JVM...",
      "Recherche de JVM...", "Démarrage Wizard..."},
     "\n\nVeuillez examiner les fichiers errors.log et jinstall.log pour plus de "
     "détails sur l'erreur."},
    {"german", "Bereite Wizard..",
     {"Bereite Wizard..", "Starte Wizard...", "Suche nach JVM...", "Suche nach JVM...",
      "Starte Wizard..."},
     "\n\nBitte überprüfen Sie die Dateien errors.log und jinstall.log für "
     "nähere Angaben zu diesem Problem."},
    {"spanish", "Preparando wizard...",
     {"Preparando wizard...", "Comienza wizard...", "Busqueda para el JVM...",
      "Instala el JVM...", "Comienza wizard de nuevo..."},
     "\n\nRevise por favor errors.log y jinstall.log para más detalles acerca del error."},
    {"polish", "Inicjalizacja Wizard...",
     {"Inicjalizacja Wizard...", "Ci dodatkowych...", "Searching for JVM...",
      "Installing the JVM...", "Ci dodatkowych..."},
     "\n\nW celu uzyskania dokładnej informacji o błędach proszę przejrzeć "
     "pliki errors.log i jinstall.log files."},
    {"italian", "Preparazione Wizard...",
     {"Preparazione Wizard...", "Esecuzione...", "Ricerca di JVM...", "Ricerca di JVM...",
      "Esecuzione..."},
     "\n\nPrego, controlla i file errors.log and jinstall.log per maggiori dettagli sull'error."},
    {"portuguese", "Preparando Wizard...",
     {"Preparando Wizard...", "Iniciando Wizard...", "Busca para JVM...", "Busca para JVM...",
      "Iniciando Wizard..."},
     "\n\nPor favor, verifique os arquivos errors.log e jinstall.log para maiores detalhes a "
     "respeito do erro."},
    {"japanese", "\rPreparing wizard...", {".", ".", ".", ".", "."},
     "\n\nPlease review the errors.log and jinstall.log files for more details about the error."},
    {"dutch", "Voorbereiden Wizard...",
     {"Voorbereiden Wizard...", "Applicatie wordt gestart...", "Searching for JVM...",
      "Installing the JVM...", "Applicatie wordt gestart..."},
     "\n\nLees a.u.b. de errors.log- en jinstall.log-bestanden voor meer informatie over dit "
     "probleem."},
};

TEST(StatusTexts, EveryLanguageByteForByte)
{
    for (const LanguageRow& row : Rows) {
        SCOPED_TRACE(row.language);
        EXPECT_STREQ(row.dialog, dialogText(row.language));
        for (unsigned n = 1; n <= 5; ++n)
            EXPECT_STREQ(row.status[n - 1], statusText(row.language, n)) << "number " << n;
        EXPECT_STREQ(row.suffix, errorSuffix(row.language));
    }
}

TEST(StatusTexts, UnknownKeysAndCapitalsFallBackToEnglish)
{
    for (const char* key : {"Dutch", "FRENCH", "klingon", "", "english "}) {
        SCOPED_TRACE(key);
        EXPECT_STREQ("Unpacking the installer...", dialogText(key));
        EXPECT_STREQ("Searching for the JVM...", statusText(key, 3));
        EXPECT_STREQ("\n\nSee errors.log and jinstall.log files for details.", errorSuffix(key));
        EXPECT_STRNE(copyingText("dutch"), copyingText(key));
    }
    EXPECT_STREQ("Unpacking the installer...", dialogText(nullptr));
}

TEST(StatusTexts, NumbersOutsideTheStepsGiveTheEmptyText)
{
    for (unsigned n : {0u, 6u, 100u}) {
        EXPECT_STREQ("", statusText("english", n));
        EXPECT_STREQ("", statusText("japanese", n));
    }
}

TEST(StatusTexts, ErrorTextTakesDetailsOrTheLanguageSuffix)
{
    EXPECT_EQ("Failed\r\rNo disk", composeErrorText("Failed", "No disk", "french"));
    EXPECT_EQ(std::string("Failed") + errorSuffix("german"),
              composeErrorText("Failed", "", "german"));
    EXPECT_EQ(std::string("Failed") + errorSuffix("english"),
              composeErrorText("Failed", nullptr, "Dutch"));
    EXPECT_EQ("\r\rdetails", composeErrorText(nullptr, "details", "english"));
}

TEST(StatusTexts, ErrorTextHasNoLengthLimit)
{
    const std::string message(6000, 'm');
    const std::string details(7000, 'd');
    EXPECT_EQ(message + "\r\r" + details,
              composeErrorText(message.c_str(), details.c_str(), "english"));
}

} // namespace
