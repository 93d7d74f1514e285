; The JVM test class of the install package. Started as "TestJvm <dir>" with class path ".",
; it writes <dir>/jvmGood.txt whose first line names the running JVM's version, for example
; java.version=1.6.0_20. The arguments are joined with blanks, so a directory with blanks that
; arrives split still names the right place.
;
; Written in bytecode assembler so that the class loads on every JVM from 1.1 on: the build sets
; the class-file version to 45.3 after assembling, and only classes and methods of 1.1 are used.

.class public TestJvm
.super java/lang/Object

.method public <init>()V
    aload_0
    invokespecial java/lang/Object/<init>()V
    return
.end method

.method public static main([Ljava/lang/String;)V
    .throws java/io/IOException
    .limit stack 8
    .limit locals 4

    ; dir = the arguments joined with blanks
    new java/lang/StringBuffer
    dup
    invokespecial java/lang/StringBuffer/<init>()V
    astore_1
    iconst_0
    istore_2
Next:
    iload_2
    aload_0
    arraylength
    if_icmpge Joined
    iload_2
    ifeq NoBlank
    aload_1
    ldc " "
    invokevirtual java/lang/StringBuffer/append(Ljava/lang/String;)Ljava/lang/StringBuffer;
    pop
NoBlank:
    aload_1
    aload_0
    iload_2
    aaload
    invokevirtual java/lang/StringBuffer/append(Ljava/lang/String;)Ljava/lang/StringBuffer;
    pop
    iinc 2 1
    goto Next
Joined:
    ; out = new FileWriter(new File(dir, "jvmGood.txt"))
    new java/io/FileWriter
    dup
    new java/io/File
    dup
    aload_1
    invokevirtual java/lang/StringBuffer/toString()Ljava/lang/String;
    ldc "jvmGood.txt"
    invokespecial java/io/File/<init>(Ljava/lang/String;Ljava/lang/String;)V
    invokespecial java/io/FileWriter/<init>(Ljava/io/File;)V
    astore_3

    ; out.write("java.version=" + System.getProperty("java.version") + "\n")
    aload_3
    new java/lang/StringBuffer
    dup
    ldc "java.version="
    invokespecial java/lang/StringBuffer/<init>(Ljava/lang/String;)V
    ldc "java.version"
    invokestatic java/lang/System/getProperty(Ljava/lang/String;)Ljava/lang/String;
    invokevirtual java/lang/StringBuffer/append(Ljava/lang/String;)Ljava/lang/StringBuffer;
    ldc "\n"
    invokevirtual java/lang/StringBuffer/append(Ljava/lang/String;)Ljava/lang/StringBuffer;
    invokevirtual java/lang/StringBuffer/toString()Ljava/lang/String;
    invokevirtual java/io/Writer/write(Ljava/lang/String;)V
    aload_3
    invokevirtual java/io/Writer/close()V
    return
.end method
