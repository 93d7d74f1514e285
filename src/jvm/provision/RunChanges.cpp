#include "jvm/provision/RunChanges.h"

#include "util/Registry.h"
#include "util/clib.h"

void RunChanges::beforeKeyCreated(const char* key)
{
    if (!RegKey().open(HKEY_LOCAL_MACHINE, key, KEY_QUERY_VALUE))
        keys_.push_back(key);
}

void RunChanges::beforeValueWritten(HKEY handle, const char* key, const char* name)
{
    Value value;
    value.key = key;
    value.name = name;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.existed = RegQueryValueExA(handle, name, nullptr, &value.type, value.data.data(),
                                         &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
    values_.push_back(value);
}

void RunChanges::jvmDirCreated(const std::string& dir)
{
    if (jvmDir_.empty())
        jvmDir_ = dir;
}

bool RunChanges::takeBack(bool removeJvmDir)
{
    bool ok = true;
    for (auto value = values_.rbegin(); value != values_.rend(); ++value) {
        RegKey key;
        if (!key.open(HKEY_LOCAL_MACHINE, value->key.c_str(), KEY_SET_VALUE)) {
            ok = false;
            continue;
        }
        const LONG result =
            value->existed ? RegSetValueExA(key.get(), value->name.c_str(), 0, value->type,
                                            value->data.data(),
                                            static_cast<DWORD>(value->data.size()))
                           : RegDeleteValueA(key.get(), value->name.c_str());
        ok = ok && (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND);
    }
    // A key this run created goes only when nothing else was put in it meanwhile.
    for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) {
        DWORD subkeys = 1;
        DWORD values = 1;
        RegKey open;
        if (open.open(HKEY_LOCAL_MACHINE, key->c_str(), KEY_QUERY_VALUE) &&
            RegQueryInfoKeyA(open.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            subkeys == 0 && values == 0) {
            open.close();
            ok = RegDeleteKeyA(HKEY_LOCAL_MACHINE, key->c_str()) == ERROR_SUCCESS && ok;
        }
    }
    for (auto file = files_.rbegin(); file != files_.rend(); ++file)
        ok = (removeFile(file->c_str()) || !fexists(file->c_str())) && ok;
    if (removeJvmDir && !jvmDir_.empty() && isDir(jvmDir_.c_str()))
        ok = delDirTree(jvmDir_.c_str()) && ok;
    keep();
    return ok;
}

void RunChanges::keep()
{
    keys_.clear();
    values_.clear();
    files_.clear();
    jvmDir_.clear();
}
