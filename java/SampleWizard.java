// A minimal install wizard for trying packages: reads the JVM facts that the launcher left in
// native.properties, reports them, and signals a proper start by creating __qrvwizard.sem in
// its working directory.
import java.io.File;
import java.io.FileInputStream;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.util.Properties;

public final class SampleWizard {
    private SampleWizard() {
    }

    public static void main(String[] args) throws IOException {
        Properties launcher = new Properties();
        File properties = new File("native.properties");
        if (properties.isFile()) {
            try (InputStream in = new FileInputStream(properties)) {
                launcher.load(in);
            }
        }
        System.out.println("nativeJvmHomeDir=" + launcher.getProperty("nativeJvmHomeDir", ""));
        System.out.println("nativeJvmInstalled=" + launcher.getProperty("nativeJvmInstalled", ""));
        System.out.println("configureWinRegistry="
                + launcher.getProperty("configureWinRegistry", ""));
        System.out.println("arguments=" + String.join(" ", args));
        new FileOutputStream("__qrvwizard.sem").close();
    }
}
