/* The stand-in for the mouse driver: DOSBox has a mouse of its own, so there is nothing to do. */
int main()
{
    return 0;
}
