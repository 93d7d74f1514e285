// The package's cleanup program.
int main()
{
    return 0;
}
