#include "ui/StatusTexts.h"

#include <cstring>

// The texts are UTF-8; they reach the screen through the wide interfaces.
namespace {
struct LanguageTexts {
    const char* key;
    const char* dialog;
    const char* status[5];
    const char* suffix;
    const char* copying;  // while a package that cannot be written is copied under TEMP
};

const LanguageTexts English = {
    "english",
    "Unpacking the installer...",
    {"Unpacking the installer...", "Starting the installer...", "Searching for the JVM...",
     "Installing the JVM...", "Restarting the installer..."},
    "\n\nSee errors.log and jinstall.log files for details.",
    "Copying the installer to a temporary folder...",
};

const LanguageTexts OtherLanguages[] = {
    {"french",
     "Préparation Wizard...",
     {"Préparation Wizard...", "Démarrage Wizard...", "Recherche de JVM...",
      "Recherche de JVM...", "Démarrage Wizard..."},
     "\n\nVeuillez examiner les fichiers errors.log et jinstall.log pour plus de "
     "détails sur l'erreur.",
     "Copie du programme d'installation dans un dossier temporaire..."},
    {"german",
     "Bereite Wizard..",
     {"Bereite Wizard..", "Starte Wizard...", "Suche nach JVM...", "Suche nach JVM...",
      "Starte Wizard..."},
     "\n\nBitte überprüfen Sie die Dateien errors.log und jinstall.log für "
     "nähere Angaben zu diesem Problem.",
     "Kopiere das Installationsprogramm in einen temporären Ordner..."},
    {"spanish",
     "Preparando wizard...",
     {"Preparando wizard...", "Comienza wizard...", "Busqueda para el JVM...", "Instala el JVM...",
      "Comienza wizard de nuevo..."},
     "\n\nRevise por favor errors.log y jinstall.log para más detalles acerca del error.",
     "Copiando el instalador a una carpeta temporal..."},
    {"polish",
     "Inicjalizacja Wizard...",
     {"Inicjalizacja Wizard...", "Ci dodatkowych...", "Searching for JVM...",
      "Installing the JVM...", "Ci dodatkowych..."},
     "\n\nW celu uzyskania dokładnej informacji o błędach proszę przejrzeć "
     "pliki errors.log i jinstall.log files.",
     "Kopiowanie instalatora do folderu tymczasowego..."},
    {"italian",
     "Preparazione Wizard...",
     {"Preparazione Wizard...", "Esecuzione...", "Ricerca di JVM...", "Ricerca di JVM...",
      "Esecuzione..."},
     "\n\nPrego, controlla i file errors.log and jinstall.log per maggiori dettagli sull'error.",
     "Copia del programma di installazione in una cartella temporanea..."},
    {"portuguese",
     "Preparando Wizard...",
     {"Preparando Wizard...", "Iniciando Wizard...", "Busca para JVM...", "Busca para JVM...",
      "Iniciando Wizard..."},
     "\n\nPor favor, verifique os arquivos errors.log e jinstall.log para maiores detalhes a "
     "respeito do erro.",
     "Copiando o instalador para uma pasta temporária..."},
    {"japanese",
     "\rPreparing wizard...",
     {".", ".", ".", ".", "."},
     "\n\nPlease review the errors.log and jinstall.log files for more details about the error.",
     "Copying the installer to a temporary folder..."},
    {"dutch",
     "Voorbereiden Wizard...",
     {"Voorbereiden Wizard...", "Applicatie wordt gestart...", "Searching for JVM...",
      "Installing the JVM...", "Applicatie wordt gestart..."},
     "\n\nLees a.u.b. de errors.log- en jinstall.log-bestanden voor meer informatie over dit "
     "probleem.",
     "Installatieprogramma wordt naar een tijdelijke map gekopieerd..."},
};

const LanguageTexts& textsFor(const char* language)
{
    if (language != nullptr) {
        for (const LanguageTexts& texts : OtherLanguages) {
            if (std::strcmp(language, texts.key) == 0)
                return texts;
        }
    }
    return English;
}
} // namespace

const char* dialogText(const char* language)
{
    return textsFor(language).dialog;
}

const char* statusText(const char* language, unsigned number)
{
    if (number < 1 || number > 5)
        return "";
    return textsFor(language).status[number - 1];
}

const char* copyingText(const char* language)
{
    return textsFor(language).copying;
}

const char* errorSuffix(const char* language)
{
    return textsFor(language).suffix;
}

std::string composeErrorText(const char* message, const char* details, const char* language)
{
    std::string text = message != nullptr ? message : "";
    if (details != nullptr && *details != '\0') {
        text += "\r\r";
        text += details;
    } else {
        text += errorSuffix(language);
    }
    return text;
}
